#include "uVariables.h"

#include "TSettingsFile.h"

namespace app {

TQuizState Quiz;
std::unique_ptr<TSettingsFile> SettingsFile;

void ResetQuizState()
{
    Quiz = TQuizState();
    SettingsFile.reset();
}

} // namespace app
