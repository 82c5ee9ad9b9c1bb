// The framework's own behaviour, on a small dialog of the tests' own that uses
// the About box's template: message table dispatch, the default processing a
// handler can ask for, control binding, the report of unexpected errors, and
// the test seams of the modal pieces.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/dialog_script.h"
#include "framework/file_dialog.h"
#include "framework/folder_browser.h"
#include "gui_support.h"
#include "platform/file.h"
#include "resource.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

constexpr UINT kRaise = WM_APP;
constexpr UINT kNotifyCode = 0x7001;
constexpr UINT kNotifyFrom = 77;

class ProbeDlg : public CDialog {
public:
    ProbeDlg() : CDialog(IDD_ABOUTBOX) {}

    int okClicks = 0;
    int setTexts = 0;
    bool passSetText = false;
    int bindId = IDOK;
    WPARAM raiseKind = 0;
    bool nestSetText = false;
    CButton m_ok;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, bindId, m_ok); }
    MessageMap GetMessageMap() const override {
        static constexpr MessageEntry entries[] = {
            KESTRUM_ON_COMMAND(BN_CLICKED, IDOK, ProbeDlg::OnOkClicked),
            KESTRUM_ON_NOTIFY(kNotifyCode, kNotifyFrom, ProbeDlg::OnProbeNotify),
            KESTRUM_ON_MESSAGE(kRaise, ProbeDlg::OnRaise),
            KESTRUM_ON_MESSAGE(WM_SETTEXT, ProbeDlg::OnSetText),
        };
        return entries;
    }

    void OnOkClicked() { ++okClicks; }
    void OnProbeNotify(NMHDR* header, LRESULT* result) {
        if (nestSetText) SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("nested"));
        *result = static_cast<LRESULT>(header->idFrom) * 2;
    }
    void OnSetText() {
        ++setTexts;
        if (passSetText) Default();
    }
    void OnRaise() {
        switch (raiseKind) {
        case 0: throw FileError("Read: The device is not ready.", "D:\\game.bsa");
        case 1: throw std::bad_alloc();
        default: throw 42;
        }
    }
};

class Framework : public ::testing::Test {
protected:
    DialogScript script;
    ScriptedDialogs scripted{script};
};

TEST_F(Framework, TableRoutesCommandsByControlAndCode) {
    ProbeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    dlg.ShowWindow(SW_SHOW);
    HWND ok = GetDlgItem(dlg.m_hWnd, IDOK);
    SendMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(dlg.okClicks, 1);
    // Another notification code from the same control is not the handler's.
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS), reinterpret_cast<LPARAM>(ok));
    EXPECT_EQ(dlg.okClicks, 1);
    EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));  // the table took IDOK: the dialog did not end
}

TEST_F(Framework, NotificationsAnswerWithTheHandlersResult) {
    ProbeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    NMHDR header{dlg.m_hWnd, kNotifyFrom, kNotifyCode};
    EXPECT_EQ(SendMessageA(dlg.m_hWnd, WM_NOTIFY, kNotifyFrom, reinterpret_cast<LPARAM>(&header)), 154);
    NMHDR other{dlg.m_hWnd, kNotifyFrom + 1, kNotifyCode};
    EXPECT_EQ(SendMessageA(dlg.m_hWnd, WM_NOTIFY, kNotifyFrom + 1, reinterpret_cast<LPARAM>(&other)), 0);
}

TEST_F(Framework, DefaultLetsTheSystemProcessTheMessageToo) {
    ProbeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    SetWindowTextA(dlg.m_hWnd, "kept");  // handled, not passed on: the caption stays
    EXPECT_EQ(WindowText(dlg.m_hWnd), "About Kestrum");
    dlg.passSetText = true;
    SetWindowTextA(dlg.m_hWnd, "passed on");
    EXPECT_EQ(WindowText(dlg.m_hWnd), "passed on");
    EXPECT_EQ(dlg.setTexts, 2);
}

// A handler nested inside another asks for default processing of its own
// message only; the outer message still gets its handler's answer.
TEST_F(Framework, DefaultRequestsOfNestedHandlersStayTheirOwn) {
    ProbeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    dlg.passSetText = true;
    dlg.nestSetText = true;
    NMHDR header{dlg.m_hWnd, kNotifyFrom, kNotifyCode};
    EXPECT_EQ(SendMessageA(dlg.m_hWnd, WM_NOTIFY, kNotifyFrom, reinterpret_cast<LPARAM>(&header)), 154);
    EXPECT_EQ(WindowText(dlg.m_hWnd), "nested");
}

// An error raised in a handler is shown once, saying where and what, and the
// dialog keeps handling messages.
TEST_F(Framework, ErrorsInHandlersAreReportedOnceAndTheDialogGoesOn) {
    ProbeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    const std::vector<std::string> expected = {
        "Unexpected error in ProbeDlg::OnRaise: Read: The device is not ready. (D:\\game.bsa)",
        "Unexpected error in ProbeDlg::OnRaise: not enough memory.",
        "Unexpected error in ProbeDlg::OnRaise: an unknown error.",
    };
    for (WPARAM kind = 0; kind < 3; ++kind) {
        dlg.raiseKind = kind;
        SendMessageA(dlg.m_hWnd, kRaise, 0, 0);
    }
    EXPECT_EQ(script.messages, expected);
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    SendMessageA(GetDlgItem(dlg.m_hWnd, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(dlg.okClicks, 1);
}

TEST_F(Framework, ControlBindingAttachesOrReportsAMissingControl) {
    ProbeDlg bound;
    ASSERT_TRUE(bound.Create(IDD_ABOUTBOX));
    EXPECT_EQ(bound.m_ok.m_hWnd, GetDlgItem(bound.m_hWnd, IDOK));
    EXPECT_TRUE(script.messages.empty());

    ProbeDlg missing;
    missing.bindId = 4242;
    ASSERT_TRUE(missing.Create(IDD_ABOUTBOX));
    EXPECT_EQ(missing.m_ok.m_hWnd, nullptr);
    EXPECT_EQ(script.messages,
              (std::vector<std::string>{"Unexpected error in OnInitDialog: the dialog has no control 4242."}));
}

TEST_F(Framework, ModelessDialogGoesWithItsObject) {
    HWND window = nullptr;
    {
        ProbeDlg dlg;
        ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
        window = dlg.m_hWnd;
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Framework, ModalDialogWithoutTableEndsByOkAndCancel) {
    struct Case {
        WPARAM key;
        INT_PTR result;
    } cases[] = {{VK_RETURN, IDOK}, {VK_ESCAPE, IDCANCEL}};
    for (const Case& c : cases) {
        CDialog plain(IDD_ABOUTBOX);
        DialogOpened hook([&](HWND dialog) { PostKey(GetDlgItem(dialog, IDOK), c.key); });
        EXPECT_EQ(plain.DoModal(), c.result);
        EXPECT_EQ(plain.m_hWnd, nullptr);
    }
    CDialog nowhere(4711);  // no such template
    EXPECT_EQ(nowhere.DoModal(), -1);
}

// The filter is read the system's way: "|" becomes a zero, and the pairs of
// description and pattern end at an empty description.
TEST(FileDialogFilter, SplitsIntoPairsAtTheBars) {
    const std::string system = FilterToSystem(" BSA file (*.bsa) |*.bsa| All files (*.*)| *.* ||");
    std::vector<std::string> parts;
    for (const char* p = system.c_str(); *p; p += std::strlen(p) + 1) parts.emplace_back(p);
    EXPECT_EQ(parts, (std::vector<std::string>{" BSA file (*.bsa) ", "*.bsa", " All files (*.*)", " *.* "}));
    EXPECT_EQ(FilterToSystem("Text|*.txt").substr(0, 11), std::string("Text\0*.txt\0", 11));
}

TEST_F(Framework, FileDialogRecordsTheRequestAndTakesTheQueuedAnswers) {
    CWinApp app;
    CWnd main;
    main.m_hWnd = reinterpret_cast<HWND>(0x1234);
    app.m_pMainWnd = &main;
    script.fileAnswers = {std::string("C:\\a.bsa"), std::nullopt};

    CFileDialog first(TRUE, "bsa", "start.bsa", 6, "A|*.a||");
    EXPECT_EQ(first.DoModal(), IDOK);
    EXPECT_EQ(first.GetPathName(), "C:\\a.bsa");
    CFileDialog second(TRUE);
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    CFileDialog third(TRUE);  // the queue is empty: cancelled
    EXPECT_EQ(third.DoModal(), IDCANCEL);

    ASSERT_EQ(script.fileRequests.size(), 3u);
    const FileDialogRequest& asked = script.fileRequests[0];
    EXPECT_TRUE(asked.open);
    EXPECT_EQ(asked.defaultExt, "bsa");
    EXPECT_EQ(asked.fileName, "start.bsa");
    EXPECT_EQ(asked.filter, "A|*.a||");
    EXPECT_EQ(asked.flags, 6u);
    EXPECT_EQ(asked.owner, main.m_hWnd);  // no parent: the main window owns it
}

TEST_F(Framework, FolderBrowserShowsItsWindows1251TitleAndTakesTheQueuedAnswers) {
    // "Выберите каталог для записи файлов" as Windows-1251 bytes.
    const std::string title =
        "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xEA\xE0\xF2\xE0\xEB\xEE\xE3 \xE4\xEB\xFF "
        "\xE7\xE0\xEF\xE8\xF1\xE8 \xF4\xE0\xE9\xEB\xEE\xE2";
    const std::wstring wide =
        L"\u0412\u044B\u0431\u0435\u0440\u0438\u0442\u0435 \u043A\u0430\u0442\u0430\u043B\u043E\u0433 "
        L"\u0434\u043B\u044F \u0437\u0430\u043F\u0438\u0441\u0438 \u0444\u0430\u0439\u043B\u043E\u0432";
    EXPECT_EQ(Cp1251ToWide(title), wide);

    script.folderAnswers = {std::string("C:\\out")};
    CWnd owner;
    owner.m_hWnd = reinterpret_cast<HWND>(0x5678);
    CFolderBrowser chosen(title, BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN, &owner);
    EXPECT_EQ(chosen.DoModal(), IDOK);
    EXPECT_EQ(chosen.GetPath(), "C:\\out");
    CFolderBrowser cancelled(title, 3);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    // A choice without a file-system path is a choice all the same, with no path.
    script.folderAnswers = {std::string()};
    CFolderBrowser pathless(title, 3);
    EXPECT_EQ(pathless.DoModal(), IDOK);
    EXPECT_EQ(pathless.GetPath(), "");

    ASSERT_EQ(script.folderRequests.size(), 3u);
    EXPECT_EQ(script.folderRequests[0].title, wide);
    EXPECT_EQ(script.folderRequests[0].flags, 3u);
    EXPECT_EQ(script.folderRequests[0].owner, owner.m_hWnd);
}

TEST_F(Framework, LoadsStringResources) {
    EXPECT_EQ(AfxLoadString(IDS_ABOUTBOX), "About Kestrum");
    EXPECT_EQ(AfxLoadString(4711), "");
}

}  // namespace
