// A row of the saved list: shows an entry's description and title and owns the entry.
#pragma once

#include "cparameters.h"

#include <QTreeWidgetItem>

#include <memory>

class SavedRow : public QTreeWidgetItem
{
public:
    explicit SavedRow(std::unique_ptr<cParameters> entry);

    cParameters &entry() const { return *m_entry; }
    // Shows the entry's Description and Title again after they changed.
    void refresh();

private:
    std::unique_ptr<cParameters> m_entry;
};
