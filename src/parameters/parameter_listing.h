#pragma once
// The parameter listing: the rows of the main window's parameter grid (parameter_grid), either the
// changed parameters or every listable one. The parameters side fills it; the grid shows it and
// the headed printing prints or exports it. Plain data, no widgets.

#include <QString>
#include <QStringList>
#include <vector>

struct ParameterListingRow {
    QString number;      // "P" and the number ("P104"); may be empty
    QString description; // the record's text
    QString value;       // the value as the grid shows it
    QString default_value; // the default in the units the grid shows the value in
};

struct ParameterListing {
    QStringList headings; // row 0 of the grid: four column titles
    std::vector<ParameterListingRow> rows;

    // parameter_list_count: the rows below the heading.
    int count() const { return static_cast<int>(rows.size()); }
};

// The listing the last list call made (the grid's rows).
ParameterListing& parameter_listing();
