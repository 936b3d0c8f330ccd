#include "zelmar/commands.h"

#include <cstdio>

#include "codec/cp1251.h"
#include "zelmar/transaction.h"

namespace morvek {

namespace {

struct Command {
  int code;
  std::string_view caption;
};

// In code order.
constexpr Command kCatalogue[] = {
    {0x20, "Команда 20h: Установка даты и времени"_cp},
    {0x21, "Команда 21h: Чтение даты и времени"_cp},
    {0x22, "Команда 22h: Программирование заголовка и окончания документа"_cp},
    {0x23, "Команда 23h: Чтение заголовка и окончания документа"_cp},
    {0x24, "Команда 24h: Добавление товара"_cp},
    {0x25, "Команда 25h: Поиск индекса товара"_cp},
    {0x26, "Команда 26h: Чтение параметров товара по индексу"_cp},
    {0x27, "Команда 27h: Программирование параметров регистратора"_cp},
    {0x28, "Команда 28h: Получение параметров регистратора"_cp},
    {0x29, "Команда 29h: Установка логотипа пользователя"_cp},
    {0x2B, "Команда 2Bh: Установить пароли Режимов"_cp},
    {0x2C, "Команда 2Ch: Сбросить пароль Оператора"_cp},
    {0x2D, "Команда 2Dh: Установка параметров оплаты"_cp},
    {0x2E, "Команда 2Eh: Чтение параметров оплаты"_cp},
    {0x2F, "Команда 2Fh: Установка параметров оператора"_cp},
    {0x30, "Команда 30h: Чтение параметров оператора"_cp},
    {0x40, "Команда 40h: Фискализация"_cp},
    {0x41, "Команда 41h: Программирование заводского номера"_cp},
    {0x42, "Команда 42h: Чтение заводского номера"_cp},
    {0x43, "Команда 43h: Программирование фискального номера"_cp},
    {0x44, "Команда 44h: Чтение фискального номера"_cp},
    {0x45, "Команда 45h: Программирование налогового/идентификационного номера"_cp},
    {0x46, "Команда 46h: Чтение налогового/идентификационного номера"_cp},
    {0x47, "Команда 47h: Установка налоговых ставок"_cp},
    {0x48, "Команда 48h: Чтение налоговых ставок"_cp},
    {0x60, "Команда 60h: Открытие нефискального чека"_cp},
    {0x61, "Команда 61h: Печать текста"_cp},
    {0x62, "Команда 62h: Закрытие нефискального чека"_cp},
    {0x63, "Команда 63h: Открытие фискального чека"_cp},
    {0x64, "Команда 64h: Продажа запрограммированного товара"_cp},
    {0x65, "Команда 65h: Закрытие  фискального чека"_cp},
    {0x66, "Команда 66h: Копия чека"_cp},
    {0x67, "Команда 67h: Оплата"_cp},
    {0x68, "Команда 68h: Скидка/наценка на товар процентная"_cp},
    {0x69, "Команда 69h: Скидка/наценка на товар абсолютная"_cp},
    {0x6A, "Команда 6Ah: Дополнительный налог"_cp},
    {0x6B, "Команда 6Bh: Аннулирования"_cp},
    {0x6C, "Команда 6Ch: Скидка/наценка на сумму процентная"_cp},
    {0x6D, "Команда 6Dh: Напечатать итог"_cp},
    {0x6E, "Команда 6Eh: Внесение/выдача сумм"_cp},
    {0x6F, "Команда 6Fh: Печать штрих кода"_cp},
    {0x80, "Команда 80h: Диагностическая информация"_cp},
    {0x81, "Команда 81h: Вывод информации на дисплей"_cp},
    {0x82, "Команда 82h: Звук"_cp},
    {0x83, "Команда 83h: Открытие денежного ящика"_cp},
    {0xA0, "Команда A0h: Информация о свободных ресурсах и статусе"_cp},
    {0xA1, "Команда A1h: Печать отчетов"_cp},
    {0xA2, "Команда A2h: Поиск отчета по дате"_cp},
    {0xA3, "Команда A3h: Печать периодического отчета"_cp},
    {0xA7, "Команда A7h: Вывод документов в электронном виде"_cp},
    {0xEB, "Команда EBh: Печать интервала документов"_cp},
    {0xEE, "Команда EEh: Вывод интервала документов в электронном виде по дате"_cp},
};
static_assert(std::size(kCatalogue) == 52);

std::string Decimal(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%i", value);
  return text;
}

}  // namespace

std::string_view ZelmarCommandCaption(int command) {
  for (const Command& c : kCatalogue)
    if (c.code == command) return c.caption;
  return "Неверная команда"_cp;
}

ZelmarResult* ZelmarDriver::ZelmarGetDiagnostics(const std::string& password, int& out) {
  out = 0;
  return ZelmarExecute(zelmar::kDiagnostics, password + ";");
}

ZelmarResult* ZelmarDriver::ZelmarGetDocument(const std::string& password, int docType, int number,
                                              int fragment, int& out, int commaForm) {
  std::string text = password;
  if (commaForm == 0) {
    text += ";" + Decimal(docType) + ";" + Decimal(number) + ";" + Decimal(fragment) + ";";
  } else {
    text += "," + Decimal(docType) + "," + Decimal(number) + "," + Decimal(fragment);
  }
  out = 0;
  return ZelmarExecute(zelmar::kDocument, text);
}

ZelmarResult* ZelmarDriver::ZelmarPrintInterval(const std::string& password, int first, int last,
                                                int& out) {
  out = 0;
  return ZelmarExecute(zelmar::kPrintInterval,
                       password + ";" + Decimal(first) + ";" + Decimal(last) + ";");
}

ZelmarResult* ZelmarDriver::ZelmarGetDocumentsByDate(
    const std::string& password, const std::string& startDate, const std::string& startTime,
    const std::string& endDate, const std::string& endTime, int printFlag, int& out) {
  out = 0;
  return ZelmarExecute(zelmar::kDocumentsByDate, password + ";" + startDate + ";" + startTime +
                                                     ";" + endDate + ";" + endTime + ";" +
                                                     Decimal(printFlag) + ";");
}

int ZelmarDriver::ZelmarSetRetryCount(int n) {
  retryCount_ = n;
  return 0;
}

void ZelmarDriver::ZelmarSetLogName(const std::string& name) {
  log_.SetName(name);
}

}  // namespace morvek
