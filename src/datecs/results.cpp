#include "datecs/results.h"

#include "codec/cp1251.h"

namespace morvek {

namespace datecs {

namespace {

struct BitMessage {
  int bit;
  std::string_view text;
};

// In the order they are looked at; bits 7, 10, 11, 12, 14, 21, 22 and 23 draw no message.
constexpr BitMessage kMessages[] = {
    {0, "Синтаксическая ошибка"_cp},
    {1, "Неверная команда"_cp},
    {2, "Дата и время неверны"_cp},
    {3, "Ошибка печати"_cp},
    {4, "Арифметическое переполнение"_cp},
    {5, "Команда не разрешена - Возможен запрос несуществующего номера чека"_cp},
    {6, "Обнуление ОЗУ"_cp},
    {8, "Обнуление ОЗУ"_cp},
    {9, "Нет бумаги"_cp},
    {13, "Не модуля фиск. памяти"_cp},
    {20, "В фиск. памяти мало места"_cp},
    {16, "Ошибка записи в фиск. память"_cp},
    {17, "Фиск. память переполнена"_cp},
    {18, "Запись в фиск. память запрещена"_cp},
    {19, "Ошибка последнего Z-отчета"_cp},
    {24, "Ошибка протокола"_cp},
    {25, "Ошибка приема команды"_cp},
    {26, "Таймаут"_cp},
    {27, "Общая ошибка"_cp},
    {28, "Общая ошибка фиск. памяти"_cp},
};

}  // namespace

std::string_view ResultMessage(std::uint32_t statusFlags) {
  for (const BitMessage& m : kMessages)
    if (statusFlags & (1u << m.bit)) return m.text;
  return {};
}

}  // namespace datecs

}  // namespace morvek
