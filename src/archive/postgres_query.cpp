#include "archive/postgres_query.h"

#include "archive/fold_case.h"

namespace morvek {

namespace {

DocumentKind KindOf(const std::string& name) {
  if (const auto kind = KindNamed(name)) return *kind;
  throw ArchiveError("the archive holds a document of an unknown kind \"" + name + "\"");
}

}  // namespace

std::string PgSelectDocuments(bool withXml) {
  return std::string(
             "SELECT coalesce(r.name, ''), r.fiscal_number, d.kind, d.number, d.di, "
             "coalesce(d.ts, ''), d.total") +
         (withXml ? ", d.xml" : "") + " FROM documents d JOIN registers r ON r.id = d.register_id ";
}

FoundDocument PgFoundAt(const PgResult& r, int row) {
  FoundDocument found;
  found.registerName = r.Text(row, 0);
  found.fiscalNumber = r.Text(row, 1);
  found.kind = KindOf(r.Text(row, 2));
  found.number = r.Int(row, 3);
  found.di = r.Int(row, 4);
  found.timestamp = r.Text(row, 5);
  found.total = r.Int(row, 6);
  return found;
}

std::string PgRegisterByKey(const std::string& placeholder) {
  const std::string p = placeholder + "::text";
  return "(SELECT id FROM registers WHERE name = " + p + " OR fiscal_number = " + p +
         " ORDER BY (name = " + p + ") DESC NULLS LAST LIMIT 1)";
}

std::string PgKindArray(const std::vector<DocumentKind>& kinds) {
  std::string array = "{";
  for (const DocumentKind kind : kinds)
    array.append(array.size() > 1 ? "," : "").append(KindName(kind));
  return array + "}";
}

void AddPgConditions(PgQuery& query, const FindQuery& q, bool inTimeOrder) {
  if (!q.registerKey.empty()) {
    query.Where("d.register_id = " + PgRegisterByKey(query.Next()));
    query.params().Text(q.registerKey);
  }
  if (inTimeOrder && (!q.from.empty() || !q.to.empty())) {
    // On the expression the time indexes hold; "0" leaves out the documents without a time, as
    // any period does.
    query.Where("coalesce(d.ts, '') >= ", "::text").Text(q.from.empty() ? "0" : q.from);
    if (!q.to.empty()) query.Where("coalesce(d.ts, '') <= ", "::text").Text(q.to);
  } else {
    if (!q.from.empty()) query.Where("d.ts >= ", "::text").Text(q.from);
    if (!q.to.empty()) query.Where("d.ts <= ", "::text").Text(q.to);
  }
  if (!q.kinds.empty()) query.Where("d.kind = ANY(", "::text[])").Text(PgKindArray(q.kinds));
  if (q.numberFrom != 0 || q.numberTo != 0) {
    query.Where("d.number >= ", "::bigint").Int(q.numberFrom);
    if (q.numberTo != 0) query.Where("d.number <= ", "::bigint").Int(q.numberTo);
  }
  if (q.text.find_first_not_of(" \t\r\n\f\v") != std::string::npos)
    query
        .Where(
            "d.id IN (SELECT document_id FROM document_words "
            "WHERE words @@ plainto_tsquery('simple', ",
            "::text))")
        .Text(FoldCase(q.text));
  if (q.amount) query.Where("d.total = ", "::bigint").Int(*q.amount);
  if (!q.rrn.empty())
    query
        .Where("EXISTS (SELECT 1 FROM payments p WHERE p.document_id = d.id AND p.rrn = ",
               "::text)")
        .Text(q.rrn);
}

}  // namespace morvek
