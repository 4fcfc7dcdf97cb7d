// Saved-list row that owns its entry.
#include "savedrow.h"

SavedRow::SavedRow(std::unique_ptr<cParameters> entry)
    : m_entry(std::move(entry))
{
    refresh();
}

void SavedRow::refresh()
{
    setText(0, m_entry->Description);
    setText(1, m_entry->Title);
}
