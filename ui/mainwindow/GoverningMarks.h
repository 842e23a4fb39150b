#pragma once

#include <QObject>

#include <array>

class InputModel;
class QLineEdit;

// Marks in bold the result field of the governing span of each set of rules (the smallest of
// its spans, the first in the pages' order on a tie) while the model holds a completed
// calculation; no field is bold otherwise.
class GoverningMarks final : public QObject
{
    Q_OBJECT

public:
    // The six result fields in the order static SP, dynamic SP, condensate SP, deflection SP,
    // static SNiP, deflection SNiP.
    GoverningMarks(InputModel& model, const std::array<QLineEdit*, 6>& fields, QObject* parent);

private:
    void Update();

    InputModel& Model;
    std::array<QLineEdit*, 6> Fields;
};
