#pragma once

#include <QObject>

#include <array>

class InputModel;
class QComboBox;

// Shows on the snow, wind and ice region selectors, as their tooltips, the site's own value that
// replaces the region's table value, with its source; no tooltip while the table value holds.
class OwnClimateMarks final : public QObject
{
    Q_OBJECT

public:
    // The selectors of the snow, wind and ice regions, in that order.
    OwnClimateMarks(InputModel& model, const std::array<QComboBox*, 3>& regions, QObject* parent = nullptr);

private:
    void Show();

    InputModel& Model;
    std::array<QComboBox*, 3> Regions;
};
