// Opens generated archives of 5,000, 20,000 and 80,000 files through the real
// main dialog's Open (load, folder tree model, list fill, tree fill) and prints
// median times and the ratio time(80k) / time(20k). A Win32 program, run under
// Wine on a virtual display by tools/run-gui-bench.sh.
//
// Four measurements per size:
//   open       the archive opened in a freshly created main dialog, so the
//              views start empty: load, tree model, list fill, tree fill;
//   tree open  the same with the tree view shown, the list hidden;
//   reopen     the same archive opened again in that dialog, so the views
//              first give up the rows and items of an archive just as large;
//   sort       a click on the Size header: the sort and the refill of the list.
//
// Two layouts: "spread" (40 files per folder, folders nested two deep below
// ten top folders) and "one folder" (every file in a single folder, the worst
// case for the tree's sorted insertion among siblings).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bsa_builder.h"
#include "framework/app.h"
#include "framework/dialog_script.h"
#include "resource.h"
#include "test_support.h"
#include "ui/kestrum_dlg.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

ArchiveSpec Generate(int files, int perFolder) {
    ArchiveSpec plan;
    for (int f = 0; f * perFolder < files; ++f) {
        FolderSpec folder;
        folder.name = perFolder >= files ? "meshes\\all" : "area" + std::to_string(f % 10) + "\\group" + std::to_string(f);
        for (int i = f * perFolder; i < std::min(files, (f + 1) * perFolder); ++i) {
            // Names in no particular order, so the sorted insertions do real work.
            const unsigned scrambled = static_cast<unsigned>(i) * 2654435761u;
            folder.files.push_back({"f" + std::to_string(scrambled % 1000003u) + ".nif", "", scrambled});
        }
        plan.folders.push_back(std::move(folder));
    }
    return plan;
}

double Seconds(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Samples {
    std::vector<double> times;
    double Median() {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }
};

class Bench {
public:
    static constexpr int kMeasurements = 4;
    static constexpr const char* kNames[kMeasurements] = {"open", "tree open", "reopen", "sort"};

    explicit Bench(int repetitions) : m_repetitions(repetitions) {}

    // Fills one median per measurement for an archive of `files`.
    bool Measure(const std::string& path, int files, double medians[kMeasurements]) {
        Samples open, treeOpen, reopen, sort;
        std::unique_ptr<CKestrumDlg> dlg;
        for (int r = 0; r < m_repetitions; ++r) {
            dlg = NewDialog();
            if (!dlg) return false;
            SendMessageA(GetDlgItem(dlg->m_hWnd, IDC_TREE_VIEW), BM_CLICK, 0, 0);
            treeOpen.times.push_back(Seconds([&] { Open(*dlg, path); }));
            if (dlg->m_fileList.GetItemCount() != files) return Failed();
        }
        for (int r = 0; r < m_repetitions; ++r) {
            dlg = NewDialog();
            if (!dlg) return false;
            open.times.push_back(Seconds([&] { Open(*dlg, path); }));
        }
        for (int r = 0; r < m_repetitions; ++r) reopen.times.push_back(Seconds([&] { Open(*dlg, path); }));
        for (int r = 0; r < m_repetitions; ++r) sort.times.push_back(Seconds([&] { ClickSizeHeader(*dlg); }));
        if (dlg->m_fileList.GetItemCount() != files || !m_script.messages.empty()) return Failed();
        Samples* samples[kMeasurements] = {&open, &treeOpen, &reopen, &sort};
        std::printf("%6d files:", files);
        for (int m = 0; m < kMeasurements; ++m) {
            medians[m] = samples[m]->Median();
            std::printf("  %s %.3f s (min %.3f)", kNames[m], medians[m], samples[m]->times.front());
        }
        std::printf("\n");
        return true;
    }

private:
    static bool Failed() {
        std::fprintf(stderr, "the open did not list every file\n");
        return false;
    }

    std::unique_ptr<CKestrumDlg> NewDialog() {
        m_app.m_pMainWnd = nullptr;
        auto dlg = std::make_unique<CKestrumDlg>();
        if (!dlg->Create(CKestrumDlg::IDD)) {
            std::fprintf(stderr, "the main dialog could not be created\n");
            return nullptr;
        }
        m_app.m_pMainWnd = dlg.get();
        dlg->ShowWindow(SW_SHOW);
        return dlg;
    }
    void Open(CKestrumDlg& dlg, const std::string& path) {
        m_script.fileAnswers.push_back(path);
        SendMessageA(GetDlgItem(dlg.m_hWnd, IDC_OPEN), BM_CLICK, 0, 0);
    }
    static void ClickSizeHeader(CKestrumDlg& dlg) {
        NMLISTVIEW notify{};
        notify.hdr.hwndFrom = dlg.m_fileList.m_hWnd;
        notify.hdr.idFrom = IDC_FILE_LIST;
        notify.hdr.code = LVN_COLUMNCLICK;
        notify.iItem = -1;
        notify.iSubItem = 1;
        SendMessageA(dlg.m_hWnd, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&notify));
    }

    int m_repetitions;
    DialogScript m_script;
    ScriptedDialogs m_scripted{m_script};
    CWinApp m_app;
};

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures as they come, also into a pipe
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    InitCommonControls();
    TempDir dir;
    Bench bench(repetitions);

    struct Layout {
        const char* name;
        int perFolder;
    } layouts[] = {{"spread", 40}, {"one folder", 1 << 30}};
    const int sizes[] = {5000, 20000, 80000};

    for (const Layout& layout : layouts) {
        std::printf("== %s (medians of %d) ==\n", layout.name, repetitions);
        double medians[3][Bench::kMeasurements] = {};
        for (int s = 0; s < 3; ++s) {
            const std::string name = "bench" + std::to_string(sizes[s]) + ".bsa";
            WriteBytes(dir.path() / name, BuildArchive(Generate(sizes[s], layout.perFolder)).bytes);
            if (!bench.Measure(dir.Join(name), sizes[s], medians[s])) return 1;
        }
        for (int m = 0; m < Bench::kMeasurements; ++m)
            std::printf("%-9s time(20k)/time(5k) = %.2f, time(80k)/time(20k) = %.2f%s\n", Bench::kNames[m],
                        medians[1][m] / medians[0][m], medians[2][m] / medians[1][m], m <= 1 ? " (target <= 5)" : "");
    }
    return 0;
}
