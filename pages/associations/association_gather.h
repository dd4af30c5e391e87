// Reads every extension registered under HKEY_CLASSES_ROOT as plain rows.
#pragma once

#include <string>

namespace taliveer {

struct AssociationRow {
    std::wstring extension;
    std::wstring description;  // the file type's text, else the ProgID
    std::wstring command;      // shell\open\command as stored
    std::wstring iconLocation; // DefaultIcon as stored
};

class AssociationSink {
public:
    virtual bool Pending() = 0;  // lets messages run; false stops the reading
    virtual void Add(const AssociationRow& row) = 0;

protected:
    ~AssociationSink() = default;
};

// False when the reading was stopped.
bool ReadAssociations(AssociationSink& sink);

}  // namespace taliveer
