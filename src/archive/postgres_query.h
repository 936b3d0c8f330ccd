#pragma once
// Statements of the PostgreSQL archive put together from fixed pieces, each value a parameter of
// its own, and the conditions of a search on documents d.
#include <string>

#include "archive/archive.h"
#include "archive/pg_connection.h"

namespace morvek {

class PgQuery {
 public:
  explicit PgQuery(std::string head) : sql_(std::move(head)) {}
  // The next parameter's placeholder, "$n".
  std::string Next() { return "$" + std::to_string(params_.Count() + 1); }
  void Where(const std::string& condition) {
    sql_ += (conditions_++ == 0 ? " WHERE " : " AND ") + condition;
  }
  // Adds "before$n after" as a condition and gives the parameters, to bind $n's value.
  PgParams& Where(const std::string& before, const std::string& after) {
    Where(before + Next() + after);
    return params_;
  }
  PgParams& params() { return params_; }
  std::string& sql() { return sql_; }

 private:
  std::string sql_;
  PgParams params_;
  int conditions_ = 0;
};

// The columns of a FoundDocument, and the XML as column 7 where wanted, of documents d joined to
// their registers r; and a row of them read.
std::string PgSelectDocuments(bool withXml);
FoundDocument PgFoundAt(const PgResult& r, int row);

// The kinds as a text[] value.
std::string PgKindArray(const std::vector<DocumentKind>& kinds);

// The id of the register named by the parameter, else of the one with that fiscal number.
std::string PgRegisterByKey(const std::string& placeholder);

// The query's conditions (not its limit); inTimeOrder: the period on the expression the time
// indexes hold.
void AddPgConditions(PgQuery& query, const FindQuery& find, bool inTimeOrder);

}  // namespace morvek
