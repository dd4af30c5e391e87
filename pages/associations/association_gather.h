// Reads every extension registered under HKEY_CLASSES_ROOT as plain rows.
#pragma once

#include "pages/row_sink.h"

#include <string>

namespace taliveer {

struct AssociationRow {
    std::wstring extension;
    std::wstring description;  // the file type's text, else the ProgID
    std::wstring command;      // shell\open\command as stored
    std::wstring iconLocation; // DefaultIcon as stored
};

using AssociationSink = RowSink<AssociationRow>;

// False when the reading was stopped.
bool ReadAssociations(AssociationSink& sink);

}  // namespace taliveer
