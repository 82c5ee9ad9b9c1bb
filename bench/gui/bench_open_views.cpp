// Opens generated archives of 5,000, 20,000 and 80,000 files through the real
// main dialog's Open (load, folder tree model, list fill, tree fill) and prints
// the median times and the ratio time(80k) / time(20k). A Win32 program, run
// under Wine on a virtual display by tools/run-gui-bench.sh.
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
#include <string>
#include <vector>

#include "bsa_builder.h"
#include "framework/app.h"
#include "framework/dialog_script.h"
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

double OpenSeconds(CKestrumDlg& dlg, DialogScript& script, const std::string& path) {
    script.fileAnswers.push_back(path);
    const auto start = std::chrono::steady_clock::now();
    SendMessageA(GetDlgItem(dlg.m_hWnd, IDC_OPEN), BM_CLICK, 0, 0);
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures as they come, also into a pipe
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    InitCommonControls();
    TempDir dir;
    DialogScript script;
    ScriptedDialogs scripted(script);
    CWinApp app;
    CKestrumDlg dlg;
    if (!dlg.Create(CKestrumDlg::IDD)) {
        std::fprintf(stderr, "the main dialog could not be created\n");
        return 1;
    }
    app.m_pMainWnd = &dlg;
    dlg.ShowWindow(SW_SHOW);

    struct Layout {
        const char* name;
        int perFolder;
    } layouts[] = {{"spread", 40}, {"one folder", 1 << 30}};
    const int sizes[] = {5000, 20000, 80000};

    for (const Layout& layout : layouts) {
        std::printf("== %s ==\n", layout.name);
        double median[3] = {};
        for (int s = 0; s < 3; ++s) {
            const std::string path = dir.Join("bench" + std::to_string(sizes[s]) + ".bsa");
            WriteBytes(dir.path() / ("bench" + std::to_string(sizes[s]) + ".bsa"),
                       BuildArchive(Generate(sizes[s], layout.perFolder)).bytes);
            std::vector<double> times;
            for (int r = 0; r < repetitions; ++r) times.push_back(OpenSeconds(dlg, script, path));
            std::sort(times.begin(), times.end());
            median[s] = times[times.size() / 2];
            if (dlg.m_fileList.GetItemCount() != sizes[s] || !script.messages.empty()) {
                std::fprintf(stderr, "the open did not list every file\n");
                return 1;
            }
            std::printf("%6d files: median %.3f s (min %.3f, max %.3f, %d runs)\n", sizes[s], median[s],
                        times.front(), times.back(), repetitions);
        }
        std::printf("ratio time(20k)/time(5k) = %.2f, time(80k)/time(20k) = %.2f (target <= 5)\n",
                    median[1] / median[0], median[2] / median[1]);
    }
    return 0;
}
