// The order in which the catalogue lists folders and templates: alphabetical in the user's language,
// without regard to letter case, so that "Fêtes" comes before "Fleurs" as a reader expects.
#pragma once

#include <QStringList>

void SortNames(QStringList& names);
