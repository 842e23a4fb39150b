#pragma once

#include <korvelin/NoteDocument.h>

#include <QWidget>

#include <optional>

// A drawing of the note shown in a window: painted by the note's own painter, scaled to the
// widget on a white sheet.
class NoteDrawingView final : public QWidget
{
public:
    explicit NoteDrawingView(QWidget* parent = nullptr);

    void SetDrawing(std::optional<korvelin::NoteDrawing> drawing);
    const std::optional<korvelin::NoteDrawing>& Drawing() const { return Shown; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<korvelin::NoteDrawing> Shown;
};
