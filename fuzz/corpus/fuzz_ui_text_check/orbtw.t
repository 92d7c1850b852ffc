* Texts of the program's windows, menus and messages: KEY TEXT, one entry a line.
* This source is UTF-8; the build writes it to the workspace in CP866 (the program
* reads it as CP1251), so only characters of both code pages may appear: ASCII,
* Cyrillic with Ё and ё, № and °.
* A text ending in @ continues on the next line. Lists and menus separate their
* items with /, and a menu item ends in its command id in brackets, [200]; an item
* without a bracket is a separator (-). Inside a text never write @ or #, inside an
* item never / or [ (except the id).
* Lines beginning with * are comments.
* Lists are counted from their first item; which item a program part takes is
* decided in one place (platform/ui_names.h).

**********************************************************************************
* Frame and reports
**********************************************************************************
UW Orbeta - астрологическая рабочая станция
* Second header line of every report.
Mark Рассчитано программой Orbeta
tmp Не удается создать временный файл отчета в рабочем каталоге

**********************************************************************************
* Names of points, signs and bodies
**********************************************************************************
* Short names of PointId 1..27 (at most 4 characters: tables print "%-4.4s").
PLH2 Сол/Лун/Мер/Вен/Мар/Юпи/Сат/Ура/Неп/Плу/Узл/Сел/Хир/Прз/Лил/Асц/Д2/Д3/IC/Д5/Д6/Дсц/Д8/Д9/MC/Д11/Д12
* Long names of PointId 1..27.
P-H Солнце/Луна/Меркурий/Венера/Марс/Юпитер/Сатурн/Уран/Нептун/Плутон/Восходящий узел/Селена/Хирон/@
Прозерпина/Лилит/Асцендент/Куспид 2 дома/Куспид 3 дома/Глубина Неба/Куспид 5 дома/Куспид 6 дома/@
Десцендент/Куспид 8 дома/Куспид 9 дома/Середина Неба/Куспид 11 дома/Куспид 12 дома
* Names of PointId 1..27, then the starts of the twelve signs (at most 12 characters).
NOB Солнце/Луна/Меркурий/Венера/Марс/Юпитер/Сатурн/Уран/Нептун/Плутон/Узел/Селена/Хирон/@
Прозерпина/Лилит/Асцендент/2 дом/3 дом/IC/5 дом/6 дом/Десцендент/8 дом/9 дом/MC/11 дом/12 дом/@
0° Овна/0° Тельца/0° Близнецов/0° Рака/0° Льва/0° Девы/0° Весов/0° Скорпиона/0° Стрельца/@
0° Козерога/0° Водолея/0° Рыб
* Signs from Aries, nominative.
ZOD Овен/Телец/Близнецы/Рак/Лев/Дева/Весы/Скорпион/Стрелец/Козерог/Водолей/Рыбы
