#pragma once

#include "MessageSink.h"

#include <QStringList>

// Keeps the messages a window would show in a box; a benchmark that gets one fails.
class KeptMessages final : public MessageSink {
public:
    void ShowMessage(const QString& text) override { Texts.append(text); }
    void ShowError(const QString& text) override { Texts.append(text); }
    QStringList Texts;
};
