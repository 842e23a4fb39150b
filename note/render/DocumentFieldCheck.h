#pragma once

#include <korvelin/DocumentFields.h>

#include <QString>

// The document fields as the note can show them: the engine's checks (length, control
// characters), then every character drawn by the document's font, so that no name comes out as
// empty boxes. Returns what is wrong with the first field that cannot be shown ("поле «Объект»:
// знак …"), or an empty text. Needs a GUI application (the fonts).
QString DocumentFieldsFontProblem(const korvelin::DocumentFields& fields);
// The same as a message of its own: "Поле «Объект»: знак … документа."
QString CheckDocumentFields(const korvelin::DocumentFields& fields);
