<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA" sourcelanguage="ru_RU">
<context>
    <name>morvek</name>
    <message>
        <source> не проверяется: в архиве нет Z-отчета, открывшего ее</source>
        <translation> не перевіряється: в архіві немає Z-звіту, що її відкрив</translation>
    </message>
    <message>
        <source> не проверяется: не читаются документы DI </source>
        <translation> не перевіряється: не читаються документи DI </translation>
    </message>
    <message>
        <source> не сходится с ее чеками:</source>
        <translation> не збігається з її чеками:</translation>
    </message>
    <message>
        <source> сходится</source>
        <translation> збігається</translation>
    </message>
    <message>
        <source>, по чекам </source>
        <translation>, за чеками </translation>
    </message>
    <message>
        <source>: в архиве нет ее документов</source>
        <translation>: в архіві немає її документів</translation>
    </message>
    <message>
        <source>: по Z-отчету </source>
        <translation>: за Z-звітом </translation>
    </message>
    <message>
        <source>IP адрес:</source>
        <translation>IP-адреса:</translation>
    </message>
    <message>
        <source>Z-отчет</source>
        <translation>Z-звіт</translation>
    </message>
    <message>
        <source>Z-отчет № </source>
        <translation>Z-звіт № </translation>
    </message>
    <message>
        <source>аннулированный</source>
        <translation>анульований</translation>
    </message>
    <message>
        <source>Арифметическое переполнение</source>
        <translation>Арифметичне переповнення</translation>
    </message>
    <message>
        <source>Архив</source>
        <translation>Архів</translation>
    </message>
    <message>
        <source>Архив не открывается: </source>
        <translation>Архів не відкривається: </translation>
    </message>
    <message>
        <source>Архив не читается: </source>
        <translation>Архів не читається: </translation>
    </message>
    <message>
        <source>В CSV...</source>
        <translation>У CSV...</translation>
    </message>
    <message>
        <source>В JSON...</source>
        <translation>У JSON...</translation>
    </message>
    <message>
        <source>В PDF</source>
        <translation>У PDF</translation>
    </message>
    <message>
        <source>В PDF...</source>
        <translation>У PDF...</translation>
    </message>
    <message>
        <source>В фиск. памяти мало места</source>
        <translation>У фіск. пам'яті мало місця</translation>
    </message>
    <message>
        <source>вер. 1.30 от 29.01.2016</source>
        <translation>вер. 1.30 від 29.01.2016</translation>
    </message>
    <message>
        <source>Вернуть номера</source>
        <translation>Отримати номери</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>Вид</translation>
    </message>
    <message>
        <source>Внес./Изъят.</source>
        <translation>Внес./Вилуч.</translation>
    </message>
    <message>
        <source>ВНИМАНИЕ!!!!</source>
        <translation>УВАГА!!!!</translation>
    </message>
    <message>
        <source>возврат</source>
        <translation>повернення</translation>
    </message>
    <message>
        <source>возвраты: </source>
        <translation>повернення: </translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Час</translation>
    </message>
    <message>
        <source>все</source>
        <translation>усі</translation>
    </message>
    <message>
        <source>Вывод документов в электронном виде</source>
        <translation>Виведення документів в електронному вигляді</translation>
    </message>
    <message>
        <source>Выгружено документов: </source>
        <translation>Вивантажено документів: </translation>
    </message>
    <message>
        <source>Выгрузка не удалась: </source>
        <translation>Вивантаження не вдалося: </translation>
    </message>
    <message>
        <source>грн</source>
        <translation>грн</translation>
    </message>
    <message>
        <source>Дата и время</source>
        <translation>Дата і час</translation>
    </message>
    <message>
        <source>Дата и время неверны</source>
        <translation>Дата і час невірні</translation>
    </message>
    <message>
        <source>Дата пишется как ДД.ММ.ГГ, например 09.01.24</source>
        <translation>Дата пишеться як ДД.ММ.РР, наприклад 09.01.24</translation>
    </message>
    <message>
        <source>Даты</source>
        <translation>Дати</translation>
    </message>
    <message>
        <source>дд.мм.гг</source>
        <translation>дд.мм.рр</translation>
    </message>
    <message>
        <source>Документ не показывается: </source>
        <translation>Документ не відображається: </translation>
    </message>
    <message>
        <source>Документ не читается: </source>
        <translation>Документ не читається: </translation>
    </message>
    <message>
        <source>Документа больше нет в архиве</source>
        <translation>Документа більше немає в архіві</translation>
    </message>
    <message>
        <source>Документов, не принятых архивом: </source>
        <translation>Документів, не прийнятих архівом: </translation>
    </message>
    <message>
        <source>Документов: </source>
        <translation>Документів: </translation>
    </message>
    <message>
        <source>Документы на ленте шириной 80 мм? (Нет: столбцами на листах A4)</source>
        <translation>Документи на стрічці шириною 80 мм? (Ні: стовпцями на аркушах A4)</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Закрити</translation>
    </message>
    <message>
        <source>Запись в фиск. память запрещена</source>
        <translation>Запис до фіск. пам'яті заборонено</translation>
    </message>
    <message>
        <source>Запрашиваемые данные отсутствуют!</source>
        <translation>Запитувані дані відсутні!</translation>
    </message>
    <message>
        <source>Запрос соединения:</source>
        <translation>Запит з'єднання:</translation>
    </message>
    <message>
        <source>и ещё </source>
        <translation>і ще </translation>
    </message>
    <message>
        <source>ИДЁТ ЗАГРУЗКА ДАННЫХ....</source>
        <translation>ЙДЕ ЗАВАНТАЖЕННЯ ДАНИХ....</translation>
    </message>
    <message>
        <source>ИДЁТ ОБРАБОТКА ДАННЫХ....</source>
        <translation>ЙДЕ ОБРОБКА ДАНИХ....</translation>
    </message>
    <message>
        <source>Касса</source>
        <translation>Каса</translation>
    </message>
    <message>
        <source>КЛЭФ</source>
        <translation>КСЕФ</translation>
    </message>
    <message>
        <source>команда не принята</source>
        <translation>команду не прийнято</translation>
    </message>
    <message>
        <source>Команда не разрешена - Возможен запрос несуществующего номера чека</source>
        <translation>Команду не дозволено - Можливо, запитано неіснуючий номер чека</translation>
    </message>
    <message>
        <source>Конечная дата</source>
        <translation>Кінцева дата</translation>
    </message>
    <message>
        <source>Конечная дата должна быть не меньше начальной!</source>
        <translation>Кінцева дата має бути не меншою за початкову!</translation>
    </message>
    <message>
        <source>Конечная дата раньше начальной</source>
        <translation>Кінцева дата раніша за початкову</translation>
    </message>
    <message>
        <source>Конечный номер</source>
        <translation>Кінцевий номер</translation>
    </message>
    <message>
        <source>Конечный номер должен быть не меньше начального!</source>
        <translation>Кінцевий номер має бути не меншим за початковий!</translation>
    </message>
    <message>
        <source>Конечный номер меньше начального</source>
        <translation>Кінцевий номер менший за початковий</translation>
    </message>
    <message>
        <source>любой</source>
        <translation>будь-який</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation>Знайти</translation>
    </message>
    <message>
        <source>налог </source>
        <translation>податок </translation>
    </message>
    <message>
        <source>налог с возвратов</source>
        <translation>податок з повернень</translation>
    </message>
    <message>
        <source>налог с продаж</source>
        <translation>податок з продажів</translation>
    </message>
    <message>
        <source>Напечатать документов: </source>
        <translation>Надрукувати документів: </translation>
    </message>
    <message>
        <source>Началный номер должен быть &gt;0!</source>
        <translation>Початковий номер має бути &gt;0!</translation>
    </message>
    <message>
        <source>Начальная дата</source>
        <translation>Початкова дата</translation>
    </message>
    <message>
        <source>Начальный номер</source>
        <translation>Початковий номер</translation>
    </message>
    <message>
        <source>Не модуля фиск. памяти</source>
        <translation>Немає модуля фіск. пам'яті</translation>
    </message>
    <message>
        <source>не передан</source>
        <translation>не передано</translation>
    </message>
    <message>
        <source>Не получено документов: </source>
        <translation>Не отримано документів: </translation>
    </message>
    <message>
        <source>Не удалось сохранить документы в архив: </source>
        <translation>Не вдалося зберегти документи в архів: </translation>
    </message>
    <message>
        <source>Неверная команда</source>
        <translation>Невірна команда</translation>
    </message>
    <message>
        <source>Необходимо связаться с экваером и передать данные!</source>
        <translation>Необхідно зв'язатися з еквайром і передати дані!</translation>
    </message>
    <message>
        <source>неожиданный ответ</source>
        <translation>неочікувана відповідь</translation>
    </message>
    <message>
        <source>Непредвиденный сбой в структуре получаемой информации!</source>
        <translation>Непередбачений збій у структурі отримуваної інформації!</translation>
    </message>
    <message>
        <source>Нет бумаги</source>
        <translation>Немає паперу</translation>
    </message>
    <message>
        <source>нет данных</source>
        <translation>немає даних</translation>
    </message>
    <message>
        <source>нет ответа</source>
        <translation>немає відповіді</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Номер документа - целое число от 1</source>
        <translation>Номер документа - ціле число від 1</translation>
    </message>
    <message>
        <source>Номера</source>
        <translation>Номери</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>Про програму</translation>
    </message>
    <message>
        <source>О программе morvek</source>
        <translation>Про програму morvek</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>Про програму...</translation>
    </message>
    <message>
        <source>Обнуление ОЗУ</source>
        <translation>Обнулення ОЗП</translation>
    </message>
    <message>
        <source>оборот возвратов</source>
        <translation>оборот повернень</translation>
    </message>
    <message>
        <source>оборот продаж</source>
        <translation>оборот продажів</translation>
    </message>
    <message>
        <source>Общая ошибка</source>
        <translation>Загальна помилка</translation>
    </message>
    <message>
        <source>Общая ошибка фиск. памяти</source>
        <translation>Загальна помилка фіск. пам'яті</translation>
    </message>
    <message>
        <source>оплаты возвратов</source>
        <translation>оплати повернень</translation>
    </message>
    <message>
        <source>оплаты продаж</source>
        <translation>оплати продажів</translation>
    </message>
    <message>
        <source>Отключить</source>
        <translation>Відключити</translation>
    </message>
    <message>
        <source>ошибка в структуре документа</source>
        <translation>помилка в структурі документа</translation>
    </message>
    <message>
        <source>Ошибка записи в фиск. память</source>
        <translation>Помилка запису до фіск. пам'яті</translation>
    </message>
    <message>
        <source>ошибка контрольной суммы</source>
        <translation>помилка контрольної суми</translation>
    </message>
    <message>
        <source>Ошибка печати</source>
        <translation>Помилка друку</translation>
    </message>
    <message>
        <source>Ошибка последнего Z-отчета</source>
        <translation>Помилка останнього Z-звіту</translation>
    </message>
    <message>
        <source>Ошибка приема команды</source>
        <translation>Помилка прийому команди</translation>
    </message>
    <message>
        <source>Ошибка протокола</source>
        <translation>Помилка протоколу</translation>
    </message>
    <message>
        <source>Ошибка! Таймаут устройства!</source>
        <translation>Помилка! Тайм-аут пристрою!</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Перед ним в архиве нет номеров </source>
        <translation>Перед ним в архіві немає номерів </translation>
    </message>
    <message>
        <source>передача прервана</source>
        <translation>передачу перервано</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Друк</translation>
    </message>
    <message>
        <source>Печать на принтер</source>
        <translation>Друк на принтер</translation>
    </message>
    <message>
        <source>Печать на РРО</source>
        <translation>Друк на РРО</translation>
    </message>
    <message>
        <source>Печать не удалась: </source>
        <translation>Друк не вдався: </translation>
    </message>
    <message>
        <source>Печать требует затрат бумажной ленты</source>
        <translation>Друк потребує витрат паперової стрічки</translation>
    </message>
    <message>
        <source>Печать...</source>
        <translation>Друк...</translation>
    </message>
    <message>
        <source>по</source>
        <translation>по</translation>
    </message>
    <message>
        <source>ПО </source>
        <translation>ПЗ </translation>
    </message>
    <message>
        <source>по датам</source>
        <translation>за датами</translation>
    </message>
    <message>
        <source>по номерам</source>
        <translation>за номерами</translation>
    </message>
    <message>
        <source>повреждён блок</source>
        <translation>пошкоджений блок</translation>
    </message>
    <message>
        <source>Подключение к  сокету TCP/IP</source>
        <translation>Підключення до  сокета TCP/IP</translation>
    </message>
    <message>
        <source>Подключить</source>
        <translation>Підключити</translation>
    </message>
    <message>
        <source>получен не полностью</source>
        <translation>отримано не повністю</translation>
    </message>
    <message>
        <source>Получить</source>
        <translation>Отримати</translation>
    </message>
    <message>
        <source>Попробуйте выбрать другой диапазон номеров или дат!</source>
        <translation>Спробуйте вибрати інший діапазон номерів або дат!</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Перервати</translation>
    </message>
    <message>
        <source>Призн. исп.</source>
        <translation>Ознака вик.</translation>
    </message>
    <message>
        <source>Проверка</source>
        <translation>Перевірка</translation>
    </message>
    <message>
        <source>Продажи по дням (возвраты пунктиром)</source>
        <translation>Продажі за днями (повернення пунктиром)</translation>
    </message>
    <message>
        <source>продажи: </source>
        <translation>продажі: </translation>
    </message>
    <message>
        <source>Продолжить?</source>
        <translation>Продовжити?</translation>
    </message>
    <message>
        <source>Протокол</source>
        <translation>Протокол</translation>
    </message>
    <message>
        <source>РРО вернул ошибку</source>
        <translation>РРО повернув помилку</translation>
    </message>
    <message>
        <source>РРО вернул ошибку:</source>
        <translation>РРО повернув помилку:</translation>
    </message>
    <message>
        <source>РРО вернул ошибку:  </source>
        <translation>РРО повернув помилку:  </translation>
    </message>
    <message>
        <source>с</source>
        <translation>з</translation>
    </message>
    <message>
        <source>сбой обработки запроса</source>
        <translation>збій обробки запиту</translation>
    </message>
    <message>
        <source>сбор с возвратов</source>
        <translation>збір з повернень</translation>
    </message>
    <message>
        <source>сбор с продаж</source>
        <translation>збір з продажів</translation>
    </message>
    <message>
        <source>связь потеряна</source>
        <translation>зв'язок втрачено</translation>
    </message>
    <message>
        <source>Сервер не отвечает, проверьте IP адрес</source>
        <translation>Сервер не відповідає, перевірте IP-адресу</translation>
    </message>
    <message>
        <source>Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)</source>
        <translation>Сервер не відповідає, перевірте налаштування РРО (IP-адреса або віддалений доступ)</translation>
    </message>
    <message>
        <source>Синтаксическая ошибка</source>
        <translation>Синтаксична помилка</translation>
    </message>
    <message>
        <source>слова в тексте</source>
        <translation>слова в тексті</translation>
    </message>
    <message>
        <source>служебная выдача</source>
        <translation>службова видача</translation>
    </message>
    <message>
        <source>служебный</source>
        <translation>службовий</translation>
    </message>
    <message>
        <source>служебный внос</source>
        <translation>службове внесення</translation>
    </message>
    <message>
        <source>Смена Z-отчета № </source>
        <translation>Зміна Z-звіту № </translation>
    </message>
    <message>
        <source>Смена еще не закрыта Z-отчетом</source>
        <translation>Зміну ще не закрито Z-звітом</translation>
    </message>
    <message>
        <source>Смена еще проверяется</source>
        <translation>Зміна ще перевіряється</translation>
    </message>
    <message>
        <source>Соединение с РРО</source>
        <translation>З'єднання з РРО</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Зберегти</translation>
    </message>
    <message>
        <source>Сохранить PDF</source>
        <translation>Зберегти PDF</translation>
    </message>
    <message>
        <source>Сохранять в архив</source>
        <translation>Зберігати в архів</translation>
    </message>
    <message>
        <source>Сумма</source>
        <translation>Сума</translation>
    </message>
    <message>
        <source>Таймаут</source>
        <translation>Тайм-аут</translation>
    </message>
    <message>
        <source>Текст</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Тестирование USB устройств: Шаг </source>
        <translation>Тестування USB-пристроїв: Крок </translation>
    </message>
    <message>
        <source>Тип документа</source>
        <translation>Тип документа</translation>
    </message>
    <message>
        <source>Файл morvek.ini отсутствует.
 Создание файла!</source>
        <translation>Файл morvek.ini відсутній.
 Створення файлу!</translation>
    </message>
    <message>
        <source>Фиск. номер</source>
        <translation>Фіск. номер</translation>
    </message>
    <message>
        <source>Фиск. память переполнена</source>
        <translation>Фіск. пам'ять переповнена</translation>
    </message>
    <message>
        <source>форма </source>
        <translation>форма </translation>
    </message>
    <message>
        <source>Форма запроса и отображения данных</source>
        <translation>Форма запиту та відображення даних</translation>
    </message>
    <message>
        <source>чек</source>
        <translation>чек</translation>
    </message>
    <message>
        <source>Чек</source>
        <translation>Чек</translation>
    </message>
    <message>
        <source>Чек № </source>
        <translation>Чек № </translation>
    </message>
    <message>
        <source>Чек+Z-отчет</source>
        <translation>Чек+Z-звіт</translation>
    </message>
    <message>
        <source>чеки № </source>
        <translation>чеки № </translation>
    </message>
    <message>
        <source>чеков возврата</source>
        <translation>чеків повернення</translation>
    </message>
    <message>
        <source>чеков продажи</source>
        <translation>чеків продажу</translation>
    </message>
    <message>
        <source>чч:мм</source>
        <translation>гг:хх</translation>
    </message>
</context>
</TS>
