#include "archive/sqlite_find.h"

#include <string>
#include <variant>

#include "archive/sqlite_rows.h"
#include "archive/text_search.h"

namespace morvek {

namespace {

using Value = SqliteConditions::Value;

bool Period(const FindQuery& query) {
  return !query.from.empty() || !query.to.empty();
}

// The documents read first: those of the text index when it leads the search. CROSS JOIN keeps
// it first: asked for one register, the planner would otherwise read all of that register's
// documents and look each up in the index, a thousand times slower on a big register.
std::string Source(bool byText) {
  return byText ? "document_text t CROSS JOIN documents d ON d.id = t.rowid" : "documents d";
}

}  // namespace

void SqliteConditions::Add(std::string_view condition, std::vector<Value> conditionValues) {
  sql += sql.empty() ? " WHERE " : " AND ";
  sql += condition;
  for (Value& value : conditionValues) values.push_back(std::move(value));
}

int SqliteConditions::BindTo(SqliteStatement& statement, int first) const {
  int index = first;
  for (const Value& value : values) {
    if (const auto* number = std::get_if<long long>(&value))
      statement.Bind(index++, *number);
    else
      statement.Bind(index++, std::get<std::string>(value));
  }
  return index;
}

SqliteConditions SqliteConditionsOf(const FindQuery& query, std::optional<long long> registerId,
                                    bool textIndexJoined, bool inTimeOrder) {
  SqliteConditions where;
  if (registerId) where.Add("d.register_id = ?", {*registerId});
  if (inTimeOrder && Period(query)) {
    // On the expression the time indexes hold; "0" leaves out the documents without a time, as
    // any period does.
    where.Add("coalesce(d.ts, '') >= ?", {query.from.empty() ? "0" : query.from});
    if (!query.to.empty()) where.Add("coalesce(d.ts, '') <= ?", {query.to});
  } else {
    if (!query.from.empty()) where.Add("d.ts >= ?", {query.from});
    if (!query.to.empty()) where.Add("d.ts <= ?", {query.to});
  }
  if (!query.kinds.empty()) {
    std::string in = "d.kind IN (";
    std::vector<Value> names;
    for (const DocumentKind kind : query.kinds) {
      in += names.empty() ? "?" : ", ?";
      names.emplace_back(std::string(KindName(kind)));
    }
    where.Add(in + ")", std::move(names));
  }
  if (query.numberFrom != 0) where.Add("d.number >= ?", {query.numberFrom});
  if (query.numberTo != 0) where.Add("d.number <= ?", {query.numberTo});
  // A text of white space alone asks for no word, as an empty one. Without a period the index's
  // documents are the ones to read (joined in FindInSqlite); within one, the period's are read
  // and looked up among the index's ('+' keeps the planner off the id for them).
  if (std::string words = AllWordsQuery(query.text); !words.empty()) {
    if (!textIndexJoined)
      where.Add("+d.id IN (SELECT rowid FROM document_text WHERE document_text MATCH ?)",
                {std::move(words)});
    else
      where.Add("t.document_text MATCH ?", {std::move(words)});
  }
  if (query.amount) where.Add("d.total = ?", {*query.amount});
  if (!query.rrn.empty())
    where.Add("d.id IN (SELECT document_id FROM payments WHERE rrn = ?)", {query.rrn});
  return where;
}

std::vector<FoundDocument> FindInSqlite(SqliteConnection& connection, const FindQuery& query,
                                        std::optional<long long> registerId) {
  const bool byText = !AllWordsQuery(query.text).empty() && !Period(query);
  SqliteConditions where = SqliteConditionsOf(query, registerId, byText, false);
  std::string sql = "SELECT " + std::string(kFoundColumns) + " FROM " + Source(byText) +
                    " JOIN registers r ON r.id = d.register_id" + where.sql +
                    " ORDER BY r.fiscal_number, d.di";
  if (query.limit > 0) {
    sql += " LIMIT ?";
    where.values.emplace_back(static_cast<long long>(query.limit));
  }
  SqliteStatement statement(connection.handle(), sql);
  where.BindTo(statement);
  std::vector<FoundDocument> found;
  while (statement.Step()) found.push_back(ReadFound(statement));
  return found;
}

}  // namespace morvek
