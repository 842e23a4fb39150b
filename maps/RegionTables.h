#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One region map: its file, its title and the normative value of each region.
struct RegionTable
{
    QString FileName;   // "1.jpg", "2.jpg" or "3.jpg"
    QString Title;
    QString RegionLabel; // heading of the row of region names
    QString ValueLabel;  // heading of the row of values, with the unit
    QStringList Regions;
    QList<double> Values;
    int Decimals;        // as the design rules print them
};

// The snow, wind and ice tables, with the values the calculation uses.
QList<RegionTable> RegionTables();
