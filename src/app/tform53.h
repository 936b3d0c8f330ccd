#pragma once
// The retrieval window "Форма запроса и отображения данных": requests by number and by date,
// printing on the register, and the steps from an assembled journal document to the rendered
// list. It owns the model of the loaded documents and the correspondence tables.
#include <array>
#include <ctime>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "blocks/interval.h"
#include "journal/document.h"
#include "journal/typ_work.h"
#include "platform/controls.h"
#include "platform/date_time.h"
#include "platform/text_strip.h"
#include "platform/ui.h"
#include "platform/window.h"
#include "platform/xml_document.h"
#include "render/renderer.h"
#include "session/by_date.h"
#include "session/fetch.h"
#include "session/outcome.h"

namespace morvek {

class Application;

class TForm53 : public Window {
 public:
  explicit TForm53(Application& app);
  // The captions in the current language; the chosen document type stays chosen.
  void Retranslate();

  // Controls: by number.
  Label GroupBox1;  // "по номерам"
  Label Label1;     // "Тип документа"
  ComboBox ComboBox1;  // document type: "Z-отчет", "Чек", "Чек+Z-отчет", "Внес./Изъят."
  Label Label4;    // "Пароль"
  Edit Edit3;      // register password
  Label Label2;    // "Начальный номер"
  Edit Edit1;      // first document number
  Label Label3;    // "Конечный номер"
  Edit Edit2;      // last document number
  Button Button1;  // "Получить"
  Button Button6;  // "Печать на РРО"
  // By date: the masked fields hold "dd.mm.yy" and "hh:mm" as the masks show them, a blank
  // position as a space (" 5.03.24").
  Label GroupBox2;  // "по датам"
  Label Label5;     // "Начальная дата"
  Edit Edit4;       // start date
  Label Label7;     // "Время"
  Edit Edit6;       // start time
  Label Label6;     // "Конечная дата"
  Edit Edit5;       // end date
  Edit Edit7;       // end time
  Button Button4;   // "Получить"
  Button Button5;   // "Вернуть номера"
  // The lists and the rest.
  ListBox ListBox1;  // the assembled document, a line per text line
  ListBox ListBox2;  // what the operator reads
  Button Button3;    // "Сохранить"
  Button Button7;    // "Печать на принтер"
  Button Button8;    // "Сохранить PDF"
  Button Button2;    // "Закрыть"
  // "Сохранять в архив": every document a request loads is also stored in the archive that
  // "Archive"/"Path" of the settings file names (morvek-archive.sqlite in the working folder
  // when it names none). Off until the operator ticks it.
  CheckBox CheckBox1;

  // State.
  morvek::rq rq;
  morvek::control control;
  DocumentTables tables;
  int requestFirst = 0;
  int requestLast = 0;
  bool recentFirmware = false;
  bool alreadyLoaded = false;
  bool recordInterval = false;
  // The ranges block transfers loaded, one list per type code (0 Z-reports, 1 the others).
  std::array<interval, 2> loadedIntervals;
  // What the last request by number or by date fetched, and what became of every document it
  // asked for.
  FetchResult fetched;
  RequestOutcome& outcome = fetched.outcome;
  // A request that lost documents names them in a message at its end; the terminal program names
  // them on standard error instead.
  bool showLostMessage = true;
  // What the register said to the last "Печать на РРО", and whether the last "Вернуть номера"
  // got its two numbers.
  enum class PrintAnswer { kNotAsked, kAccepted, kRefused };
  PrintAnswer printAnswer = PrintAnswer::kNotAsked;
  bool numbersReturned = false;
  std::string errorLogPath = "error.log";
  std::string tempXmlPath = "temp.xml";

  // Handlers. Those that ask the register run one at a time (Application::RunExclusive): a click
  // while an exchange runs is ignored.
  void FormCreate();
  void FormClose();
  void ComboBox1Change();
  void Button1Click();  // request by number
  void Button2Click();  // close
  // "Сохранить": the list to a text file of the operator's choice. A file that cannot be written
  // raises FileError, which the front end reports as an unhandled failure.
  void Button3Click();
  void Button4Click();  // request by date
  void Button5Click();  // number return
  void Button6Click();  // print on the register
  // "Печать на принтер": the list on paper through the platform's print dialog.
  void Button7Click();
  // "Сохранить PDF": the list on A4 pages to a PDF file of the operator's choice; a file that
  // cannot be written raises FileError, as "Сохранить" does.
  void Button8Click();
  // The list as strips of paper, a document each (Windows-1251); lines before the first
  // document, or a list not rendered here, make one strip without a title.
  std::vector<TextStrip> ListStrips() const;

  int RequestByNumber();
  void FetchByNumber(int first, int last, int docType);
  void FetchBlocks(int first, int last, int docType);
  int RequestByDate();
  // True when the register gave the two numbers.
  bool QueryNumbersByDate(int& first, int& last);
  void ShowDeviceError();
  void SetRecentFirmware(bool flag) { recentFirmware = flag; }
  // Empties the model, and with it what tells which documents are held: they belong to another
  // register now, and must be asked again.
  void DiscardDocuments();
  // The date and time fields from a moment of the local clock: the end at that moment, the start
  // at 00:00 on the first of the month before.
  void FillDateFields(const std::tm& now);

  // The document type and number range of a request by number, as the operator enters them.
  void SetRequest(int documentType, int first, int last);

  // Parses an assembled journal and loads it into the model a child of the root at a time
  // (documents accumulate); raises XmlError, loading nothing, for a text that is not well-formed,
  // or ConvertError, keeping what was stored before the failure.
  void LoadDocument(std::string_view xmlText);
  // The loaded documents of the type and range the fields hold, added to the list; false, with the
  // two failure lines added, when the walk raised.
  bool RenderDocuments(ListBox& list);
  // The processing step after a request by number has assembled its document: load, order, and
  // show the requested range in ListBox2. False, with the two failure lines added to the list,
  // when anything raised.
  bool ShowAssembled(std::string_view xmlText);
  // The two lines that end a request that failed.
  void AddFailureLines();
  // The documents the last request loaded, into the archive; a message when it cannot take them.
  void StoreLoaded();

  // The assembled document in ListBox1: its two opening lines, the documents the fetch delivered,
  // and the closing line with "temp.xml" written.
  void BeginAssembly();
  void EndAssembly();
  // "50.00%     3" in the notice window while it is the active window: done of count, at
  // number. A count of 0 leaves the text as it was.
  void ShowProgress(long long done, long long count, long long number);

 private:
  bool ZelmarChosen() const;
  // The notice window at the start of a request, and everything back at its end.
  void BeginRequest();
  void EndRequest();
  // The notice window's part in a fetch: its repaint before each document or transfer, and the
  // progress.
  FetchHooks RequestHooks();
  // The message naming the documents the request lost.
  void ReportLost();
  // A request that raised: what it delivered and what it had not come to are lost.
  void FailRequest();
  // Parses the assembled document in ListBox1 and loads it into the model.
  void LoadAssembled();
  // The by-date fields, read in the order start date, end date, start time, end time; a blank or
  // malformed one raises ConvertError.
  DateInterval ReadDateFields() const;
  // Asks the register for the first and last document numbers of the interval; true, with both
  // numbers, when it gave them.
  bool AskNumbersByDate(const DateInterval& interval, int& first, int& last);
  // Notes where the documents added to ListBox2 from its line `base` on start.
  void NoteListDocuments(const std::vector<RenderedDocument>& documents, std::size_t base);

  Application& app_;
  std::vector<int> markedFetched_;  // numbers the last request by number marked fetched
  // Type code and identity (its DI, or its text when it has none) of each document block
  // transfers added to the model, and of those the last request added.
  std::set<std::pair<int, std::string>> loadedByBlocks_;
  std::vector<std::pair<int, std::string>> addedByBlocks_;
  // The runs of numbers the last block request holds now, recorded once they are loaded.
  std::vector<interval::Range> toRecord_;
  // Where the documents rendered into ListBox2 start, with their titles, since its last clear.
  struct ListDocument {
    std::size_t firstLine;
    std::string title;
  };
  std::vector<ListDocument> listDocuments_;
  unsigned long listClears_ = 0;
  bool registerAsked_ = false;  // the last request by date got past the date check
  std::string lastStatus_;      // the Zelmar status of the last request for numbers by date
};

}  // namespace morvek
