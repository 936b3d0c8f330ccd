#include "archive/sqlite_find.h"

#include <string>
#include <variant>

#include "archive/sqlite_rows.h"
#include "archive/text_search.h"

namespace morvek {

namespace {

using Value = std::variant<long long, std::string>;

struct Conditions {
  std::string sql;
  std::vector<Value> values;

  void Add(std::string_view condition, std::vector<Value> conditionValues) {
    sql += sql.empty() ? " WHERE " : " AND ";
    sql += condition;
    for (Value& value : conditionValues) values.push_back(std::move(value));
  }
};

bool Period(const FindQuery& query) {
  return !query.from.empty() || !query.to.empty();
}

// The documents read first: those of the text index when it leads the search. CROSS JOIN keeps
// it first: asked for one register, the planner would otherwise read all of that register's
// documents and look each up in the index, a thousand times slower on a big register.
std::string Source(const FindQuery& query) {
  const bool byText = !AllWordsQuery(query.text).empty() && !Period(query);
  return byText ? "document_text t CROSS JOIN documents d ON d.id = t.rowid" : "documents d";
}

Conditions ConditionsOf(const FindQuery& query, std::optional<long long> registerId) {
  Conditions where;
  if (registerId) where.Add("d.register_id = ?", {*registerId});
  if (!query.from.empty()) where.Add("d.ts >= ?", {query.from});
  if (!query.to.empty()) where.Add("d.ts <= ?", {query.to});
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
    if (Period(query))
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

}  // namespace

std::vector<FoundDocument> FindInSqlite(SqliteConnection& connection, const FindQuery& query,
                                        std::optional<long long> registerId) {
  Conditions where = ConditionsOf(query, registerId);
  std::string sql = "SELECT " + std::string(kFoundColumns) + " FROM " + Source(query) +
                    " JOIN registers r ON r.id = d.register_id" + where.sql +
                    " ORDER BY r.fiscal_number, d.di";
  if (query.limit > 0) {
    sql += " LIMIT ?";
    where.values.emplace_back(static_cast<long long>(query.limit));
  }
  SqliteStatement statement(connection.handle(), sql);
  int index = 1;
  for (const Value& value : where.values) {
    if (const auto* number = std::get_if<long long>(&value))
      statement.Bind(index++, *number);
    else
      statement.Bind(index++, std::get<std::string>(value));
  }
  std::vector<FoundDocument> found;
  while (statement.Step()) found.push_back(ReadFound(statement));
  return found;
}

}  // namespace morvek
