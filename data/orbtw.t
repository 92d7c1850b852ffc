* Texts of the program's windows, menus and messages: KEY TEXT, one entry a line.
* This source is UTF-8; the build writes it to the workspace in CP866.
* A text ending in @ continues on the next line. Lists and menus separate their
* items with /, and a menu item ends in its command id in brackets, [200].
* Lines beginning with * are comments.

* Houses
virhous Для широты выше 66° квадрантные системы домов не определены. Дома рассчитаны по знакам Зодиака.

* Calculation methods: item n is the name of method n (item 0 is unused).
MetChet /Натальная карта/////Вторичные прогрессии/Третичные прогрессии/Недельные прогрессии//@
/Градусные дирекции/Знаковые дирекции/Композит/Средняя карта/Узловая карта/Гармоника/Конверсные транзиты/Конверсные вторичные прогрессии/Конверсные третичные прогрессии/@
Конверсные недельные прогрессии////Планетные дуги/Минорные прогрессии/Конверсные минорные прогрессии////@
Месячные прогрессии/Конверсные месячные прогрессии/Транзиты, MC по солнечной дуге/Конверсные транзиты, MC по солнечной дуге///////@
//////////@
//////////@
//////////@
//////////@
//////////@
//////////@
Годовой соляр/Месячный соляр/Лунар/Вход Солнца в градус/Релокация/Полнолуние/Новолуние/Эмболисмическая лунация
