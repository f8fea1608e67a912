#include "menu/ToolsPage.h"

#include "app/RecoveryApp.h"

#include "platform/ComApartment.h"
#include "platform/SystemLibrary.h"

#include <shellapi.h>

namespace quorvane {

namespace {

// Handed to the system's shell with its default action; whether the tool
// starts is the shell's business and leaves no trace here.
void launch(const wchar_t* tool)
{
    // The handler of a file type (a console file for Disk Management) may be a
    // shell extension that needs COM.
    const ComApartmentScope com;
    static const SystemLibrary shell(L"shell32.dll");
    if (const auto execute = shell.function<decltype(ShellExecuteW)>("ShellExecuteW"))
        execute(nullptr, nullptr, tool, nullptr, nullptr, SW_SHOW);
}

} // namespace

std::vector<MenuButton> ToolsPage::buttons() const
{
    return toolsPageButtons(RecoveryApp::current().languageCode);
}

DrawingSteps ToolsPage::paintingSteps() const
{
    return toolsPageSteps(hoverIndex());
}

bool ToolsPage::onCommand(int id, int /*code*/, HWND /*control*/)
{
    switch (id) {
    case IDC_TOOLS_DISK_MANAGEMENT:
        launch(L"diskmgmt.msc");
        return true;
    case IDC_TOOLS_EXPLORER:
        launch(L"explorer.exe");
        return true;
    case IDC_TOOLS_BACK:
        requestPage(UM_SHOW_MAIN_MENU);
        return true;
    default:
        return false;
    }
}

} // namespace quorvane
