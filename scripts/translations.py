#!/usr/bin/env python3
"""The program's translations, kept in translations/morvek_uk.ts (Qt Linguist's format).

  translations.py table TS OUT.cpp      the table the core and the terminal program translate by
  translations.py check TS SOURCE...    every text the sources mark has a finished translation,
                                        and every translation belongs to a marked text
  translations.py add TS SOURCE...      appends the marked texts the file lacks, unfinished

The sources mark a text as "Подключить"_tr (a Windows-1251 window text), Tr("...") (UTF-8),
QtTr("...") (a widget's own text), or a table's entry as "..."_trlater or TrLater("..."), translated
where it is used. lupdate cannot read the first form, so the file is kept by this script.
"""
import re
import sys
import xml.etree.ElementTree as ET

MARKED = re.compile(r'(?<!operator)"((?:[^"\\\n]|\\.)*)"_tr(?:later)?\b'
                    r'|\b(?:Qt)?Tr(?:Later)?\(\s*"((?:[^"\\\n]|\\.)*)"\s*\)')
ESCAPES = {'n': '\n', 't': '\t', '"': '"', '\\': '\\', "'": "'"}


def unescape(literal):
    return re.sub(r'\\(.)', lambda m: ESCAPES.get(m.group(1), m.group(0)), literal)


def marked_texts(paths):
    texts = {}
    for path in paths:
        with open(path, encoding='utf-8') as f:
            for number, line in enumerate(f, 1):
                if line.lstrip().startswith('//'):
                    continue
                for match in MARKED.finditer(line):
                    text = unescape(match.group(1) if match.group(1) is not None else match.group(2))
                    texts.setdefault(text, f'{path}:{number}')
    return texts


def messages(ts_path):
    """(source, translation or None when unfinished) for every message of the file."""
    found = []
    for message in ET.parse(ts_path).getroot().iter('message'):
        source = message.findtext('source') or ''
        translation = message.find('translation')
        kind = translation.get('type') if translation is not None else 'unfinished'
        text = translation.text if translation is not None else None
        if kind in ('vanished', 'obsolete'):
            continue
        found.append((source, text if kind != 'unfinished' and text else None))
    return found


def cpp_literal(text):
    out = []
    for byte in text.encode('utf-8'):
        ch = chr(byte)
        if ch in '"\\':
            out.append('\\' + ch)
        elif ch == '\n':
            out.append('\\n')
        elif 32 <= byte < 127:
            out.append(ch)
        else:
            out.append(f'\\{byte:03o}')
    return '"' + ''.join(out) + '"'


def table(ts_path, out_path):
    pairs = sorted((s.encode('utf-8'), s, t) for s, t in messages(ts_path) if t is not None)
    lines = ['// Generated from translations/morvek_uk.ts by scripts/translations.py; do not edit.',
             '#include "platform/translation_table.h"', '', 'namespace morvek {', '',
             'const TranslationEntry kUkrainianTexts[] = {']
    lines += [f'    {{{cpp_literal(s)}, {cpp_literal(t)}}},' for _, s, t in pairs]
    lines += ['    {"", ""},', '};', f'const std::size_t kUkrainianTextCount = {len(pairs)};', '',
              '}  // namespace morvek', '']
    text = '\n'.join(lines)
    try:
        with open(out_path, encoding='utf-8') as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    with open(out_path, 'w', encoding='utf-8') as f:
        f.write(text)
    return 0


def check(ts_path, sources):
    marked = marked_texts(sources)
    known = dict(messages(ts_path))
    faults = [f'{where}: no Ukrainian for "{text}"' for text, where in sorted(marked.items())
              if not known.get(text)]
    faults += [f'{ts_path}: "{text}" is marked nowhere' for text in sorted(known)
               if text not in marked]
    for fault in faults:
        print(fault)
    return 1 if faults else 0


def add(ts_path, sources):
    known = {s for s, _ in messages(ts_path)}
    missing = [t for t in marked_texts(sources) if t not in known]
    with open(ts_path, encoding='utf-8') as f:
        text = f.read()
    entries = ''.join(
        '    <message>\n'
        f'        <source>{escape_xml(t)}</source>\n'
        '        <translation type="unfinished"></translation>\n'
        '    </message>\n' for t in missing)
    text = text.replace('</context>', entries + '</context>', 1)
    with open(ts_path, 'w', encoding='utf-8') as f:
        f.write(text)
    print(f'{len(missing)} added')
    return 0


def escape_xml(text):
    return text.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')


if __name__ == '__main__':
    command, ts, *rest = sys.argv[1:]
    sys.exit({'table': lambda: table(ts, rest[0]), 'check': lambda: check(ts, rest),
              'add': lambda: add(ts, rest)}[command]())
