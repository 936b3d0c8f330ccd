#include "datecs/results.h"

#include "codec/cp1251.h"
#include "platform/translation.h"

namespace morvek {

namespace datecs {

namespace {

struct BitMessage {
  int bit;
  std::string_view text;
};

// In the order they are looked at; bits 7, 10, 11, 12, 14, 21, 22 and 23 draw no message.
constexpr BitMessage kMessages[] = {
    {0, "Синтаксическая ошибка"_trlater},
    {1, "Неверная команда"_trlater},
    {2, "Дата и время неверны"_trlater},
    {3, "Ошибка печати"_trlater},
    {4, "Арифметическое переполнение"_trlater},
    {5, "Команда не разрешена - Возможен запрос несуществующего номера чека"_trlater},
    {6, "Обнуление ОЗУ"_trlater},
    {8, "Обнуление ОЗУ"_trlater},
    {9, "Нет бумаги"_trlater},
    {13, "Не модуля фиск. памяти"_trlater},
    {20, "В фиск. памяти мало места"_trlater},
    {16, "Ошибка записи в фиск. память"_trlater},
    {17, "Фиск. память переполнена"_trlater},
    {18, "Запись в фиск. память запрещена"_trlater},
    {19, "Ошибка последнего Z-отчета"_trlater},
    {24, "Ошибка протокола"_trlater},
    {25, "Ошибка приема команды"_trlater},
    {26, "Таймаут"_trlater},
    {27, "Общая ошибка"_trlater},
    {28, "Общая ошибка фиск. памяти"_trlater},
};

}  // namespace

std::string_view ResultMessage(std::uint32_t statusFlags) {
  for (const BitMessage& m : kMessages)
    if (statusFlags & (1u << m.bit)) return TrCp1251(m.text);
  return {};
}

}  // namespace datecs

}  // namespace morvek
