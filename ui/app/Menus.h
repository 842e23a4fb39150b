#pragma once

#include "Unit1.h"

class CalculationNoteCommands;
class CompensationWindow;
class DocumentFieldsCommand;
class InputSetDocument;
class SpanTableWindow;

// Builds the menus of the main window around the entries of its layout, in one place:
// "Файл": the file commands, "Последние файлы", the site's own climatic values and
// "Сведения о документе…", the note's commands and the route's "Чертеж трассы в DXF…", then
// "Выход";
// "Справка": "Руководство пользователя" (F1) above the entries of the layout;
// the bar: "Таблица пролетов" and "Компенсация" after "Технический лист".
void BuildMenus(const TFormProlet::MenuParts& menus, InputSetDocument& document, CalculationNoteCommands& note,
                DocumentFieldsCommand& documentFields, SpanTableWindow& spanTable, CompensationWindow& compensation,
                QAction& ownClimate);
