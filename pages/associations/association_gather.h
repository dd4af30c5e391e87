// Reads every extension of the user's and the machine's classes as plain rows, as Windows
// shows them: the user's values over the machine's, and the program the user chose in "Open
// with" over the extension's own.
#pragma once

#include "pages/row_sink.h"

#include <string>

namespace taliveer {

struct AssociationRow {
    std::wstring extension;
    std::wstring description;  // the file type's text, else the ProgID
    std::wstring command;      // shell\open\command as stored, of the program Windows runs
    std::wstring iconLocation; // DefaultIcon as stored
    std::wstring ownCommand;   // the command of the extension's own file type
    std::wstring userChoice;   // the file type the user chose in "Open with", when it is another
};

using AssociationSink = RowSink<AssociationRow>;

// How the extensions come: merged while the registry lists its keys, the first rows before
// the rest of the classes are read, or sorted after every key was read.
enum class ExtensionOrder { AsListed, SortedFirst };
enum class AssociationsRead {
    Completed,
    Stopped,     // the sink stopped the reading
    OutOfOrder,  // AsListed only: the registry did not list its keys in order; read again sorted
};
AssociationsRead ReadAssociations(AssociationSink& sink, ExtensionOrder order);

}  // namespace taliveer
