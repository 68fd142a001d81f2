// Every kind of drawing object, and the registry that creates them by type name.
#pragma once

#include <memory>

#include "model/arbo.h"
#include "model/barcode.h"
#include "model/calendar.h"
#include "model/group.h"
#include "model/image.h"
#include "model/shapes.h"
#include "model/text.h"

// The fourteen type names, lower case.
extern const char* const kObjectTypeNames[14];

// A new object of the given lower-case type name for a document (not yet in its list), placed at
// the page centre for box kinds other than "rect"; null for a name outside the registry.
std::unique_ptr<TzunoCADObj> MakeObjectKind(TzunoCADMdl* document, const QString& lowerName);
