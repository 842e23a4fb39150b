#pragma once

#include <korvelin/DocumentFields.h>

#include <QString>

// The document fields as the note can show them: the engine's checks (length, control
// characters), then every character drawn by the document's font, so that no name comes out as
// empty boxes. Returns the message naming the first field that cannot be shown, or an empty text.
// Needs a GUI application (the fonts).
QString CheckDocumentFields(const korvelin::DocumentFields& fields);
