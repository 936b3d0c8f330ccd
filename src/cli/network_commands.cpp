// morvek-cli status, fetch, fetch-date, numbers and print: each connects as the connect button
// does, then does what the named button of the retrieval window does, prints what the window
// shows, and disconnects.
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/document_types.h"
#include "cli/output.h"
#include "cli/session.h"
#include "platform/cp1251.h"

namespace morvek {

namespace {

struct RequestOptions {
  ConnectionOptions connection;
  std::string type = "both";
  std::string password;
  std::string out;
  std::string encoding = "utf8";
  bool yes = false;
  // The number fields, as typed; a fetch by date shows every document it loaded.
  std::string first = "1", last = "2147483647";
  std::string startDate, startTime, endDate, endTime;  // dd.mm.yy and hh:mm
};

enum class Command { kStatus, kFetch, kFetchDate, kNumbers, kPrint };

// True when the list ends a request that failed: the two failure lines, or the register's error.
bool ListShowsFailure(const ListBox& list) {
  static const std::string kFailure =
      std::string("Попробуйте выбрать другой диапазон номеров или дат!"_cp);
  static const std::string kRegisterError = std::string("РРО вернул ошибку:"_cp);
  for (const auto& line : list.lines)
    if (line == kFailure || line.starts_with(kRegisterError)) return true;
  return false;
}

// Prints the list and saves it where --out says; false when either failed.
bool Deliver(Session& session, const RequestOptions& options) {
  TForm53& form = session.app.Form53;
  bool ok = PrintLines(form.ListBox2.lines, options.encoding == "utf8");
  if (!ok) std::cerr << "morvek-cli: cannot write the lines to standard output\n";
  if (!options.out.empty()) {
    session.ui.saveFileName = options.out;
    ok = session.Run([&form] { form.Button3Click(); }) && ok;
  }
  return ok;
}

int Run(Command command, const RequestOptions& options) {
  Session session(options.connection);
  if (!session.Connect()) return 1;
  TForm53& form = session.app.Form53;
  form.ComboBox1.Select(kDocumentTypes.at(options.type));
  if (!options.password.empty()) form.Edit3.text = Utf8ToCp1251(options.password);
  form.Edit1.text = options.first;
  form.Edit2.text = options.last;
  form.Edit4.text = options.startDate;
  form.Edit6.text = options.startTime;
  form.Edit5.text = options.endDate;
  form.Edit7.text = options.endTime;
  form.Show();

  switch (command) {
    case Command::kStatus: {
      std::vector<std::string> lines(session.app.Form3.StatusBar1.panels.begin(),
                                     session.app.Form3.StatusBar1.panels.end());
      lines.push_back(std::string("firmware gate: ") +
                      (form.recentFirmware ? "passed" : "not passed"));
      return PrintLines(lines, options.encoding == "utf8") ? 0 : 1;
    }
    case Command::kFetch: {
      const bool quiet = session.Run([&form] { form.Button1Click(); });
      const bool delivered = Deliver(session, options);
      return quiet && delivered && !ListShowsFailure(form.ListBox2) ? 0 : 1;
    }
    case Command::kFetchDate: {
      const bool quiet = session.Run([&form] { form.Button4Click(); });
      const bool delivered = Deliver(session, options);
      return quiet && delivered && !ListShowsFailure(form.ListBox2) ? 0 : 1;
    }
    case Command::kNumbers: {
      const bool quiet = session.Run([&form] { form.Button5Click(); });
      const bool printed = PrintLines({form.Edit1.text, form.Edit2.text}, true);
      return quiet && printed ? 0 : 1;
    }
    case Command::kPrint: {
      session.ui.answerYes = options.yes;
      const bool quiet = session.Run([&form] { form.Button6Click(); });
      // The window does not report a Zelmar register's refusal to print; the terminal does.
      const ZelmarResult* result = session.app.Form2.lastZelmarResult;
      if (options.yes && session.app.Form3.RadioGroup1.itemIndex == 1 && result &&
          result->statusCode != "0000") {
        session.ui.ShowMessage(std::string("РРО вернул ошибку:"_cp) + result->statusCode);
        return 1;
      }
      return quiet ? 0 : 1;
    }
  }
  return 1;
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
  command.add_option("FIRST", options.first, "First document number")->required();
  command.add_option("LAST", options.last, "Last document number")->required();
}

void AddDateArguments(CLI::App& command, RequestOptions& options) {
  command.add_option("START_DATE", options.startDate, "DD.MM.YY")->required();
  command.add_option("START_TIME", options.startTime, "HH:MM")->required();
  command.add_option("END_DATE", options.endDate, "DD.MM.YY")->required();
  command.add_option("END_TIME", options.endTime, "HH:MM")->required();
}

}  // namespace

void AddNetworkCommands(CLI::App& app, int& exitCode) {
  struct Entry {
    const char* name;
    const char* description;
    Command command;
  };
  static const Entry kEntries[] = {
      {"status", "Connect, print the four status-bar panels and the firmware gate",
       Command::kStatus},
      {"fetch", "Fetch documents by number and print them", Command::kFetch},
      {"fetch-date", "Fetch the documents of a date and time interval and print them",
       Command::kFetchDate},
      {"numbers", "Print the first and last document numbers of a date and time interval",
       Command::kNumbers},
      {"print", "Have the register print a range of documents", Command::kPrint},
  };
  for (const Entry& entry : kEntries) {
    auto options = std::make_shared<RequestOptions>();
    CLI::App* sub = app.add_subcommand(entry.name, entry.description);
    AddConnectionOptions(*sub, options->connection);
    const Command command = entry.command;
    if (command == Command::kFetch || command == Command::kFetchDate || command == Command::kPrint)
      AddTypeOption(*sub, *options);
    if (command != Command::kStatus) AddPasswordOption(*sub, *options);
    if (command == Command::kFetch || command == Command::kFetchDate)
      AddOutputOptions(*sub, *options);
    if (command == Command::kStatus)
      sub->add_option("--encoding", options->encoding, "Output encoding (default utf8)")
          ->check(CLI::IsMember({"utf8", "cp1251"}));
    if (command == Command::kPrint)
      sub->add_flag("--yes", options->yes, "Answer Yes to the question before printing");
    if (command == Command::kFetch || command == Command::kPrint)
      AddNumberArguments(*sub, *options);
    if (command == Command::kFetchDate || command == Command::kNumbers)
      AddDateArguments(*sub, *options);
    sub->callback([options, command, &exitCode] { exitCode = Run(command, *options); });
  }
}

}  // namespace morvek
