#include "datecs/commands.h"

#include <string>

#include "codec/cp1251.h"
#include "datecs/transaction.h"

namespace morvek {

namespace {

struct Caption {
  int code;
  std::string_view text;
};

// clang-format off
constexpr Caption kCaptions[] = {
    {0x21, "Очистка дисплея"_cp},
    {0x23, "Дисплей - нижний ряд"_cp},
    {0x26, "Открыть нефискальный чек"_cp},
    {0x27, "Закрыть нефискальный чек"_cp},
    {0x2A, "Печать нефискального текста"_cp},
    {0x2B, "Установить Header, Footer и опции печати"_cp},
    {0x2C, "Пропустить строки на принтере"_cp},
    {0x2D, "Отрезать чек"_cp},
    {0x2F, "Дисплей - верхний ряд"_cp},
    {0x30, "Открыть фискальный чек"_cp},
    {0x32, "Печать налоговых ставок за период"_cp},
    {0x33, "Подсумма"_cp},
    {0x34, "Регистрация продажи  и вывод на дисплей"_cp},
    {0x35, "Общая сумма чека (Total)"_cp},
    {0x36, "Печать строк в фискальном чеке"_cp},
    {0x38, "Закрыть фискальный чек"_cp},
    {0x39, "Аннулировать чек"_cp},
    {0x3A, "Регистрация продажи"_cp},
    {0x3D, "Установить дату и время"_cp},
    {0x3E, "Получить дату и время"_cp},
    {0x3F, "Вывести дату и время на дисплее"_cp},
    {0x40, "Информация о последнем Z-отчете"_cp},
    {0x41, "Суммы за день"_cp},
    {0x43, "Суммы коррекций за день"_cp},
    {0x44, "Размер фискальной памяти"_cp},
    {0x45, "X- или Z- отчет"_cp},
    {0x46, "Служебный внос/вынос суммы"_cp},
    {0x47, "Печать диагностической информации"_cp},
    {0x48, "Фискализация"_cp},
    {0x49, "Полный периодический отчет по номеру"_cp},
    {0x4A, "Получить состояние регистратора"_cp},
    {0x4C, "Состояние фискальной транзакции"_cp},
    {0x4F, "Сокращенный периодический отчет (по дате)"_cp},
    {0x50, "Звуковой сигнал"_cp},
    {0x53, "Установить множитель, запятую, валюту и количество групп налогов"_cp},
    {0x54, "Режим продаж"_cp},
    {0x55, "Открыть чек возврата"_cp},
    {0x59, "Программирование тестовой области"_cp},
    {0x5A, "Запрос диагностической информации"_cp},
    {0x5B, "Установить заводской номер"_cp},
    {0x5C, "Установить фискальный номер"_cp},
    {0x5E, "Полный периодический отчет по дате"_cp},
    {0x5F, "Сокращенный периодический отчет по номеру"_cp},
    {0x61, "Ставки налогов"_cp},
    {0x62, "Установить налоговый или иденификационный номер"_cp},
    {0x63, "Прочитать налоговый или иденификационный номер"_cp},
    {0x64, "Управление дисплеем"_cp},
    {0x65, "Задать пароль оператора"_cp},
    {0x66, "Задать имя оператора"_cp},
    {0x67, "Информация о текущем чеке"_cp},
    {0x68, "Обнулить данные оператора"_cp},
    {0x69, "Отчет оператора"_cp},
    {0x6A, "Открыть денежный ящик"_cp},
    {0x6B, "Программирование артикулов и получение информации о них"_cp},
    {0x6D, "Печать копии чека"_cp},
    {0x6E, "Дополнительная информация по типам оплаты"_cp},
    {0x6F, "Отчет товаров"_cp},
    {0x70, "Информация об операторе"_cp},
    {0x71, "Номер последнего чека"_cp},
    {0x72, "Получение информации из фискальной памяти"_cp},
    {0x73, "Загрузка логотипа"_cp},
    {0x76, "Пароль администратора"_cp},
    {0x77, "Обнулить операторские пароли"_cp},
    {0xA7, "Команда A7h: Вывод документов в электронном виде"_cp},
    {0xEB, "Команда EBh: Печать интервала документов"_cp},
    {0xEE, "Команда EEh: Вывод интервала документов в электронном виде по дате"_cp},
};
// clang-format on

std::string Decimal(int value) {
  return std::to_string(value);  // no locale: no grouping, no leading zeros
}

}  // namespace

std::string_view DatecsCommandCaption(int code) {
  for (const Caption& c : kCaptions)
    if (c.code == code) return c.text;
  return "Неверная команда"_cp;
}

int DatecsDriver::DatecsGetDiagnostics(const datecs::ResultCallback& callback, int tag, int flag) {
  return DatecsExecute(callback, tag, datecs::kDiagnostics, flag != 0 ? "1" : "0");
}

// The password is taken, as by the Zelmar entry points, but the register is not sent it.
int DatecsDriver::DatecsGetDocument(const datecs::ResultCallback& callback, std::string_view,
                                    int docType, int number, int fragment) {
  const std::string text = Decimal(docType) + "," + Decimal(number) + "," + Decimal(fragment);
  return DatecsExecute(callback, 0, datecs::kDocument, text);
}

int DatecsDriver::DatecsGetDocumentsByDate(const datecs::ResultCallback& callback, std::string_view,
                                           std::string_view startDate, std::string_view startTime,
                                           std::string_view endDate, std::string_view endTime,
                                           int printFlag) {
  std::string text;
  for (std::string_view part : {startDate, startTime, endDate, endTime}) {
    text += part;
    text += ',';
  }
  text += Decimal(printFlag);
  return DatecsExecute(callback, 0, datecs::kDocumentsByDate, text);
}

int DatecsDriver::DatecsPrintInterval(const datecs::ResultCallback& callback, std::string_view,
                                      int first, int last) {
  return DatecsExecute(callback, 0, datecs::kPrintInterval, Decimal(first) + "," + Decimal(last));
}

}  // namespace morvek
