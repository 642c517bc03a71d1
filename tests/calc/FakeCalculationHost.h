#pragma once

#include "calc/CalculationHost.h"

#include <QRect>
#include <QStringList>

// Stands in for the main window: a drink table with the given header, the
// entry row a test puts in `row`, and the data folder in `folder`.
class FakeCalculationHost : public CalculationHost
{
public:
    explicit FakeCalculationHost(QStringList header)
        : m_header(std::move(header))
    { }

    QString folder;
    QString row;

    QString dataFolder() const override { return folder; }
    QStringList headerCells() const override { return m_header; }
    QList<int> headerColumnWidths() const override
    {
        QList<int> widths { 180, 70 };
        while (widths.size() < m_header.size())
            widths << 60;
        return widths;
    }
    QString currentEntryRow() const override { return row; }
    bool isDrinkTable() const override { return true; }
    QRect hostFrameGeometry() const override { return { 40, 50, 900, 700 }; }

private:
    QStringList m_header;
};
