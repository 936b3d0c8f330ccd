// morvek-cli status, fetch, fetch-date, numbers and print: each opens a session with the register,
// connects, makes its request, prints what the retrieval window would show, and disconnects.
#include <charconv>
#include <iostream>
#include <memory>
#include <string>

#include "archive/archive.h"
#include "cli/archive_commands.h"
#include "cli/commands.h"
#include "cli/connection.h"
#include "cli/document_types.h"
#include "cli/output.h"
#include "cli/terminal_ui.h"
#include "codec/cp1251.h"
#include "platform/translation.h"
#include "session/render.h"
#include "session/session.h"

namespace morvek {

namespace {

struct RequestOptions {
  ConnectionOptions connection;
  std::string type = "both";
  std::string password;
  std::string out;
  std::string encoding = "utf8";
  bool yes = false;
  bool store = false;   // fetch, fetch-date: the documents also go into the archive
  std::string archive;  // which archive; empty: the settings' or the default one
  // The number fields, as typed; a fetch by date shows every document it loaded.
  std::string first = "1", last = "2147483647";
  std::string startDate, startTime, endDate, endTime;  // dd.mm.yy and hh:mm
};

enum class Command { kStatus, kFetch, kFetchDate, kNumbers, kPrint };

// Exit statuses.
constexpr int kOk = 0;
constexpr int kFailed = 1;  // the connection, the register or the output failed
constexpr int kUsage = 2;
constexpr int kLost = 3;  // documents of the request were lost, each named on standard error

// The exit status of a fetch, from what became of each document it asked for; every document not
// delivered is named on standard error.
int FetchStatus(const RequestOutcome& outcome, bool delivered) {
  for (const std::string& line : UndeliveredLines(outcome))
    std::cerr << "morvek-cli: " << line << '\n';
  if (outcome.stage == RequestOutcome::Stage::kRefused) return kUsage;
  if (outcome.stage == RequestOutcome::Stage::kRegisterFailed || outcome.NothingReached())
    return kFailed;
  if (!delivered) return kFailed;
  return outcome.Count(Fate::kLost) > 0 ? kLost : kOk;
}

// Prints the lines and saves them where --out says; false when either failed.
bool Deliver(TerminalUi& ui, const std::vector<std::string>& lines, const RequestOptions& options) {
  bool ok = PrintLines(lines, options.encoding == "utf8");
  if (!ok) std::cerr << "morvek-cli: cannot write the lines to standard output\n";
  if (!options.out.empty()) ok = SaveOut(ui, options.out, lines) && ok;
  return ok;
}

// The lines of a fetch as the retrieval window shows them: the documents of the range the number
// fields hold, rendered from what was fetched; the two failure lines when it failed. A fetch that
// fails to render has lost what it delivered.
std::vector<std::string> FetchedLines(FetchResult& fetched, int type, const RequestOptions& options,
                                      const std::string& errorLogPath, bool order) {
  if (fetched.failed) return FailureLines();
  RenderResult shown = RenderJournal(JoinLines(AssembledLines(fetched.documents)), type,
                                     options.first, options.last, errorLogPath, order);
  if (shown.failed && fetched.outcome.stage == RequestOutcome::Stage::kAsked)
    fetched.outcome.Abort(Reason::kRequestFailed);
  return shown.lines;
}

// The lines of a fetch by date that the register refused: its status, and what to do about one.
std::vector<std::string> RefusedLines(const std::string& status) {
  std::vector<std::string> lines{std::string("РРО вернул ошибку:  "_tr) + status + " !"};
  if (status == "0CD0")
    lines.push_back(std::string("Необходимо связаться с экваером и передать данные!"_tr));
  return lines;
}

// --store: what the fetch delivered, into the archive; the fetch's own status unless the archive
// failed (1) or refused a document (3, each named on standard error).
int Stored(const FetchResult& fetched, const RequestOptions& options, int status) {
  if (fetched.failed) return status;
  std::vector<DocumentRecord> records;
  bool refused = false;
  for (const FetchedDocument& document : fetched.documents) {
    try {
      records.push_back(ReadDocument(document.xml));
    } catch (const ArchiveError& error) {
      std::cerr << "morvek-cli: not stored: document " << document.number << ": " << error.what()
                << '\n';
      refused = true;
    }
  }
  const std::string location = ArchiveLocation(options.archive);
  try {
    const std::unique_ptr<Archive> archive = OpenArchive(location);
    if (!records.empty()) {
      RegisterRecord device;
      device.fiscalNumber = records.front().fiscalNumber;
      device.protocol = options.connection.protocol;
      archive->NoteRegister(device);
    }
    const StoreReport report = archive->Store(records, Arrival::kFetched);
    std::cerr << "morvek-cli: archive " << RedactedLocation(location) << ": " << report.stored
              << " stored, " << report.held << " held already\n";
  } catch (const ArchiveError& error) {
    std::cerr << "morvek-cli: " << error.what() << '\n';
    return kFailed;
  }
  return refused && status == kOk ? kLost : status;
}

int Run(Command command, const RequestOptions& options) {
  TerminalUi ui;
  const SessionOptions sessionOptions = MakeSessionOptions(options.connection);
  if (sessionOptions.host.empty()) {
    std::cerr << "morvek-cli: no server address: give --host or put it into morvek.ini\n";
    return kFailed;
  }
  SessionOptions withPassword = sessionOptions;
  if (!options.password.empty()) withPassword.password = Utf8ToCp1251(options.password);
  Session session(withPassword, ui);
  const ConnectResult connection = session.Connect();
  if (!connection.connected) return kFailed;
  const int type = kDocumentTypes.at(options.type);
  const FetchHooks hooks = ProgressHooks();

  switch (command) {
    case Command::kStatus: {
      std::vector<std::string> lines(connection.panels.begin(), connection.panels.end());
      lines.push_back(std::string("firmware gate: ") +
                      (connection.recentFirmware ? "passed" : "not passed"));
      return PrintLines(lines, options.encoding == "utf8") ? kOk : kFailed;
    }
    case Command::kFetch: {
      FetchResult fetched =
          session.Fetch(type, std::stoi(options.first), std::stoi(options.last), hooks);
      std::vector<std::string> lines;
      if (fetched.outcome.stage != RequestOutcome::Stage::kRefused || fetched.failed)
        lines = FetchedLines(fetched, type, options, sessionOptions.errorLogPath, true);
      const int status = FetchStatus(fetched.outcome, Deliver(ui, lines, options));
      return options.store ? Stored(fetched, options, status) : status;
    }
    case Command::kFetchDate: {
      Session::DateFetch date = session.FetchByDate(
          {options.startDate, options.startTime, options.endDate, options.endTime}, hooks);
      FetchResult& fetched = date.fetched;
      std::vector<std::string> lines;
      // Datecs replies carry no status text: their line shows none.
      if (fetched.outcome.stage == RequestOutcome::Stage::kRegisterFailed && !fetched.failed)
        lines = RefusedLines(sessionOptions.protocol == Protocol::kZelmar ? date.status : "");
      else if (fetched.outcome.stage == RequestOutcome::Stage::kAsked || fetched.failed)
        lines = FetchedLines(fetched, type, options, sessionOptions.errorLogPath, false);
      const int status = FetchStatus(fetched.outcome, Deliver(ui, lines, options));
      return options.store ? Stored(fetched, options, status) : status;
    }
    case Command::kNumbers: {
      NumbersReply numbers;
      std::vector<std::string> lines{options.first, options.last};
      try {
        numbers = session.Numbers(
            {options.startDate, options.startTime, options.endDate, options.endTime});
        // Without an answer the number fields read 1.
        lines = numbers.given ? std::vector<std::string>{std::to_string(numbers.first),
                                                         std::to_string(numbers.last)}
                              : std::vector<std::string>{"1", "1"};
      } catch (const std::exception& failure) {
        ui.ShowUnhandledError(failure.what());
      }
      const bool printed = PrintLines(lines, true);
      return numbers.given && printed ? kOk : kFailed;
    }
    case Command::kPrint: {
      ui.answerYes = options.yes;
      const PrintResult printed = session.Print(std::stoi(options.first), std::stoi(options.last));
      if (!printed.asked || printed.accepted) return kOk;
      // The window does not report a Zelmar register's refusal to print; the terminal does.
      if (sessionOptions.protocol == Protocol::kZelmar && printed.status != "0000")
        ui.ShowMessage(std::string("РРО вернул ошибку:"_tr) + printed.status);
      return kFailed;
    }
  }
  return kFailed;
}

void AddTypeOption(CLI::App& command, RequestOptions& options) {
  command.add_option("--type", options.type, "Document type (default both)")
      ->check(CLI::IsMember({"z", "receipt", "both", "cash"}));
}

void AddPasswordOption(CLI::App& command, RequestOptions& options) {
  command.add_option("--password", options.password, "Register password (default 582941)");
}

void AddOutputOptions(CLI::App& command, RequestOptions& options) {
  command.add_option("--out", options.out,
                     "Also save the lines to FILE as the save button does (Windows-1251, CR LF)");
  command.add_option("--encoding", options.encoding, "Output encoding (default utf8)")
      ->check(CLI::IsMember({"utf8", "cp1251"}));
}

void AddNumberArguments(CLI::App& command, RequestOptions& options) {
  // Kept as typed, as the number fields hold them; a text that is no number is refused here.
  const CLI::Validator integer(
      [](const std::string& text) -> std::string {
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size() ? ""
                                                                        : "not a number: " + text;
      },
      "INTEGER");
  command.add_option("FIRST", options.first, "First document number")->required()->check(integer);
  command.add_option("LAST", options.last, "Last document number")->required()->check(integer);
}

// Digits where the pattern has '9', the pattern's own character elsewhere.
CLI::Validator Shaped(const std::string& pattern, const std::string& name) {
  return CLI::Validator(
      [pattern, name](const std::string& text) -> std::string {
        bool fits = text.size() == pattern.size();
        for (std::size_t i = 0; fits && i < text.size(); ++i)
          fits = pattern[i] == '9' ? text[i] >= '0' && text[i] <= '9' : text[i] == pattern[i];
        return fits ? std::string() : "not " + name + ": " + text;
      },
      name);
}

void AddDateArguments(CLI::App& command, RequestOptions& options) {
  const CLI::Validator date = Shaped("99.99.99", "DD.MM.YY");
  const CLI::Validator time = Shaped("99:99", "HH:MM");
  command.add_option("START_DATE", options.startDate, "DD.MM.YY")->required()->check(date);
  command.add_option("START_TIME", options.startTime, "HH:MM")->required()->check(time);
  command.add_option("END_DATE", options.endDate, "DD.MM.YY")->required()->check(date);
  command.add_option("END_TIME", options.endTime, "HH:MM")->required()->check(time);
}

}  // namespace

void AddNetworkCommands(CLI::App& app, int& exitCode) {
  struct Entry {
    const char* name;
    const char* description;
    Command command;
    const char* exitStatus;
  };
  static constexpr const char* kFetchStatus =
      "Exit status: 0 when no document of the range was lost (documents the register does not "
      "have are fine); 3 when any was lost, each named on standard error; 1 when the connection "
      "or the register failed before any document could be asked for, or the lines could not be "
      "written, or with --store when the archive could not be opened or written; 2 on a usage "
      "error. With --store, 3 also when the archive refused a document it cannot account for.";
  static const Entry kEntries[] = {
      {"status", "Connect, print the four status-bar panels and the firmware gate",
       Command::kStatus,
       "Exit status: 0 when the connection and the register check succeeded, else 1; 2 on a "
       "usage error."},
      {"fetch", "Fetch documents by number and print them", Command::kFetch, kFetchStatus},
      {"fetch-date", "Fetch the documents of a date and time interval and print them",
       Command::kFetchDate, kFetchStatus},
      {"numbers", "Print the first and last document numbers of a date and time interval",
       Command::kNumbers,
       "Exit status: 0 when the register gave two numbers, else 1; 2 on a usage error."},
      {"print", "Have the register print a range of documents", Command::kPrint,
       "Exit status: 0 when the register accepted the request, and when the question was "
       "answered No (nothing is sent); 1 when the register refused it or the connection failed; "
       "2 on a usage error."},
  };
  for (const Entry& entry : kEntries) {
    auto options = std::make_shared<RequestOptions>();
    CLI::App* sub = app.add_subcommand(entry.name, entry.description);
    sub->footer(entry.exitStatus);
    AddConnectionOptions(*sub, options->connection);
    const Command command = entry.command;
    if (command == Command::kFetch || command == Command::kFetchDate || command == Command::kPrint)
      AddTypeOption(*sub, *options);
    if (command != Command::kStatus) AddPasswordOption(*sub, *options);
    if (command == Command::kFetch || command == Command::kFetchDate) {
      AddOutputOptions(*sub, *options);
      sub->add_flag("--store", options->store, "Also store the documents fetched in the archive");
      AddArchiveOption(*sub, options->archive);
    }
    if (command == Command::kStatus)
      sub->add_option("--encoding", options->encoding, "Output encoding (default utf8)")
          ->check(CLI::IsMember({"utf8", "cp1251"}));
    if (command == Command::kPrint)
      sub->add_flag("--yes", options->yes, "Answer Yes to the question before printing");
    if (command == Command::kFetch || command == Command::kPrint)
      AddNumberArguments(*sub, *options);
    if (command == Command::kFetchDate || command == Command::kNumbers)
      AddDateArguments(*sub, *options);
    sub->callback([options, command, &exitCode] {
      exitCode = Run(command, *options);
      EndProgress();
    });
  }
}

}  // namespace morvek
