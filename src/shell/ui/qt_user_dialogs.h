// The questions and the folder chooser as the windowed program shows them.
#pragma once

#include "shell/user_dialogs.h"

class TQtUserDialogs : public TUserDialogs {
 public:
  int AskUser(const QString& text, int kind, int buttons) override;
  bool BrowseFolder(const QString& title, QString& folder) override;
  bool InputName(const QString& caption, const QString& prompt, QString& value) override;
  bool SaveFileName(const QString& filters, QString& file, int* filter) override;
  bool OpenFileName(const QString& filters, QString& file) override;
  bool ChooseColor(QColor& color, QStringList* custom) override;
  bool ChooseFont(QFont& font, QColor& color) override;
};
