// The kernel's exception family. Every refusal of the CAD kernel raises one of
// these; the message names the class and method (or the routine), a colon, a
// blank and a fixed English text, for instance
// "TGraphicObjList.Add: The list has active iterators.".
#pragma once

#include <stdexcept>
#include <string>

namespace calvoro {

class ECADCoreException : public std::runtime_error {
public:
    explicit ECADCoreException(const std::string& message) : std::runtime_error(message) {}
};

// An index or a size outside what the object holds.
class ECADOutOfBound : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

// A class (or a class slot) of the registry that is not there, or already taken.
class ECADObjClassNotFound : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

// A source block that instances still use.
class ECADSourceBlockIsReferenced : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

// A stream that is cut short, corrupt or of a version that cannot be read.
class ECADFileNotValid : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

// An object looked up by ID that a list does not hold.
class ECADListObjNotFound : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

// A change of a list that its live iterators forbid.
class ECADListBlocked : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

}  // namespace calvoro
