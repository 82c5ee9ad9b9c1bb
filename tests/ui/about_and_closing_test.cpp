// The About box from the system menu, the icon handlers' neighbours, and the
// ways the main dialog ends, each through the dialog's real modal loop.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "ui/kestrum_app.h"
#include "ui/kestrum_dlg.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

bool IsAboutBox(HWND dialog) { return WindowText(dialog) == "About Kestrum"; }
bool IsMainDialog(HWND dialog) { return WindowText(dialog) == "Kestrum"; }

using AboutBox = DialogFixture;

TEST_F(AboutBox, SystemMenuEndsWithTheAboutItem) {
    HMENU menu = GetSystemMenu(dlg.m_hWnd, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    char text[64] = {};
    GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "About Kestrum");
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
}

// Commands 0x10..0x1F open the box (the low four bits are the system's); the
// box ends by its OK button or by Escape and returns to the main dialog.
TEST_F(AboutBox, OpensForTheAboutCommandsOnly) {
    struct Case {
        WPARAM command;
        WPARAM key;  // how the box is ended: 0 clicks OK
        int opened;
    } cases[] = {{0x10, 0, 1}, {0x1F, VK_ESCAPE, 1}, {0x13, VK_RETURN, 1}, {0x0F, 0, 0}, {0x20, 0, 0}};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        int opened = 0;
        HWND owner = nullptr;
        std::string text;
        bool mainDisabled = false;
        DialogOpened hook([&](HWND box) {
            if (!IsAboutBox(box)) return;
            ++opened;
            owner = GetWindow(box, GW_OWNER);
            mainDisabled = !IsWindowEnabled(dlg.m_hWnd);
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (ClassName(child) == "Static") text = WindowText(child);
            if (c.key)
                PostKey(GetDlgItem(box, IDOK), c.key);
            else
                PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });

        SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, c.command, 0);

        EXPECT_EQ(opened, c.opened);
        if (c.opened) {
            EXPECT_EQ(owner, dlg.m_hWnd);
            EXPECT_TRUE(mainDisabled);
            EXPECT_NE(text.find("Kestrum"), std::string::npos);
            EXPECT_NE(text.find("zlib"), std::string::npos);
        }
        EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
        EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    }
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(AboutBox, LayoutOfTheBox) {
    DialogOpened hook([&](HWND box) {
        if (!IsAboutBox(box)) return;
        RECT client, units{0, 0, 231, 74};
        GetClientRect(box, &client);
        MapDialogRect(box, &units);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);
        const LONG style = GetWindowLongA(box, GWL_STYLE);
        EXPECT_TRUE(style & DS_MODALFRAME);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

        HWND ok = GetWindow(box, GW_CHILD);  // first in tab order
        EXPECT_EQ(GetDlgCtrlID(ok), IDOK);
        EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP | WS_GROUP),
                  BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP);
        EXPECT_EQ(DialogUnitsOf(box, ok), (std::vector<LONG>{90, 51, 50, 16}));
        HWND text = GetWindow(ok, GW_HWNDNEXT);
        EXPECT_EQ(GetWindowLongA(text, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
        EXPECT_TRUE(GetWindowLongA(text, GWL_EXSTYLE) & WS_EX_STATICEDGE);
        EXPECT_EQ(WindowText(text).substr(0, 9), "Kestrum\r\n");
        PostMessageA(ok, BM_CLICK, 0, 0);
    });
    SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
}

// How the main dialog ends when run modally: Enter anywhere but on a push
// button ends it with IDOK, Escape and the close box with IDCANCEL; Enter on a
// focused push button clicks that button and the dialog goes on.
TEST(MainDialogClosing, EnterEscapeAndTheCloseBox) {
    InitCommonControls();
    enum Way { Enter, Escape, CloseBox, EnterOnOpenThenEscape };
    struct Case {
        const char* name;
        int focus;
        Way way;
        INT_PTR result;
        std::size_t fileDialogs;
    } cases[] = {
        {"Enter on the list", IDC_FILE_LIST, Enter, IDOK, 0},
        {"Enter on the check box", IDC_CHECK_NO_PATH, Enter, IDOK, 0},
        {"Enter on the path edit", IDC_EDIT_PATH, Enter, IDOK, 0},
        {"Escape on the list", IDC_FILE_LIST, Escape, IDCANCEL, 0},
        {"Escape on the Open button", IDC_OPEN, Escape, IDCANCEL, 0},
        {"close box", IDC_FILE_LIST, CloseBox, IDCANCEL, 0},
        {"Enter on the Open button", IDC_OPEN, EnterOnOpenThenEscape, IDCANCEL, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogScript script;
        ScriptedDialogs scripted(script);
        CKestrumDlg dlg;
        DialogOpened hook([&](HWND dialog) {
            if (!IsMainDialog(dialog)) return;
            HWND focus = GetDlgItem(dialog, c.focus);
            // Focus moves the way Tab would move it, default-button look included.
            PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
            switch (c.way) {
            case Enter: PostKey(focus, VK_RETURN); break;
            case Escape: PostKey(focus, VK_ESCAPE); break;
            case CloseBox: PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
            case EnterOnOpenThenEscape:
                PostKey(focus, VK_RETURN);
                PostKey(focus, VK_ESCAPE);
                break;
            }
        });
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(script.fileRequests.size(), c.fileDialogs);
        EXPECT_EQ(dlg.m_hWnd, nullptr);
        EXPECT_TRUE(script.messages.empty());
    }
}

// Start-up runs the main dialog as the main window and ends when it ends; the
// settings key is named but nothing is written under it.
TEST(KestrumApp, RunsTheMainDialogAndStoresNoSettings) {
    const char* key = "Software\\Local AppWizard-Generated Applications";
    HKEY opened = nullptr;
    ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened), ERROR_SUCCESS)
        << "the key exists before the run; remove it from the test prefix";

    CKestrumApp app;
    HWND mainSeen = nullptr;
    bool wasMainWindow = false;
    DialogOpened hook([&](HWND dialog) {
        if (!IsMainDialog(dialog)) return;
        mainSeen = dialog;
        wasMainWindow = AfxGetMainWnd() && AfxGetMainWnd()->m_hWnd == dialog;
        PostKey(GetDlgItem(dialog, IDC_OPEN), VK_ESCAPE);
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_NE(mainSeen, nullptr);
    EXPECT_TRUE(wasMainWindow);
    EXPECT_FALSE(IsWindow(mainSeen));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.GetRegistryKey(), "Local AppWizard-Generated Applications");
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened), ERROR_SUCCESS);
}

}  // namespace
