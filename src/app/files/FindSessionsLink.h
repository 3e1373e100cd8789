#pragma once

#include <filesystem>

class QWidget;

namespace dyno {

class FilePage;
class FindSessionsDialog;
class SessionFileActions;

// Puts "Find sessions" beside the File page: its button and Ctrl+F open the dialog
// on the page's folder, a row chosen there is selected on the page, and every save
// of session 1 goes into the index at once. The dialog belongs to `window`.
FindSessionsDialog* linkFindSessions(FilePage& filePage, SessionFileActions& fileActions,
                                     const std::filesystem::path& indexFile, QWidget* window);

}  // namespace dyno
