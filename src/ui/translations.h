#pragma once

class QCoreApplication;

// Loads Qt's own Chinese texts (standard buttons, file and print dialogs) so that the standard
// parts of the window speak the same language as the rest. False when they are not installed;
// the window then works with the toolkit's English texts.
bool installChineseTranslations(QCoreApplication& app);
