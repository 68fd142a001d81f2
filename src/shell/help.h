// The installed help: the manual named by the installation key "aide_pdf", in the installation
// folder. The catalogue and the editor open it through here.
#pragma once

#include <QString>

class TSoft;

// The manual's path when one is named and present, else "".
QString HelpFile(const TSoft& soft);
// What to tell the user when HelpFile is "": that no help is installed (nothing named), or which
// named file is missing.
QString HelpMissingMessage(const TSoft& soft);
