// Times a setup program the way a user meets it, over repeated runs:
// from starting it until its dialog is on screen, and from OK until the
// process has ended with both files in place. Every run's files are checked
// byte for byte, so a fast wrong run can't count.
//
//   bench_driver RUNS EXPECTED_ICON EXPECTED_URL BASELINE SETUP...
//
// The programs take turns, run after run, so that whatever else the machine
// does falls on all of them alike. Prints one line a run of each:
// "ROUND baseline exit_ms" for the program that exits at once, and
// "ROUND N launch_ms ok_to_exit_ms" for the N-th setup program. Round 0
// warms the file cache and is not to be counted.
#include <windows.h>
#include <shlobj.h>

#include <stdio.h>

#include <string>

static LARGE_INTEGER frequency;
static int round;

static double Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * (double)t.QuadPart / (double)frequency.QuadPart;
}

static std::string ReadFile(const std::string &path)
{
    std::string data;
    FILE *f = fopen(path.c_str(), "rb");
    if (f == NULL)
        return data;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, got);
    fclose(f);
    return data;
}

struct Search
{
    DWORD process;
    HWND dialog;
};

static BOOL CALLBACK FindDialog(HWND window, LPARAM context)
{
    Search *search = (Search *)context;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char windowClass[16] = "";
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (owner == search->process && IsWindowVisible(window) &&
        lstrcmpA(windowClass, "#32770") == 0 && GetDlgItem(window, IDOK) != NULL)
    {
        search->dialog = window;
        return FALSE;
    }
    return TRUE;
}

static BOOL Start(const char *program, PROCESS_INFORMATION *process)
{
    std::string commandLine = std::string("\"") + program + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    return CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                          process);
}

static int RunSetup(int program, const char *path, const std::string &icon, const std::string &url,
                    const std::string &iconOut, const std::string &urlOut)
{
    DeleteFileA(iconOut.c_str());
    DeleteFileA(urlOut.c_str());
    PROCESS_INFORMATION process;
    double started = Now();
    if (!Start(path, &process))
        return 1;
    Search search = {process.dwProcessId, NULL};
    while (search.dialog == NULL)
    {
        EnumWindows(FindDialog, (LPARAM)&search);
        if (search.dialog == NULL && WaitForSingleObject(process.hProcess, 1) != WAIT_TIMEOUT)
            return 1;
    }
    double shown = Now();
    // What a click on OK sends.
    PostMessageA(search.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 (LPARAM)GetDlgItem(search.dialog, IDOK));
    double pressed = Now();
    WaitForSingleObject(process.hProcess, INFINITE);
    double ended = Now();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (ReadFile(iconOut) != icon || ReadFile(urlOut) != url)
    {
        fprintf(stderr, "bench_driver: %s wrote wrong or no files\n", path);
        return 1;
    }
    printf("%d %d %.2f %.2f\n", round, program, shown - started, ended - pressed);
    return 0;
}

static int RunBaseline(const char *program)
{
    PROCESS_INFORMATION process;
    double started = Now();
    if (!Start(program, &process))
        return 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    printf("%d baseline %.2f\n", round, Now() - started);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 6)
        return 2;
    QueryPerformanceFrequency(&frequency);
    int runs = atoi(argv[1]);
    char desktop[MAX_PATH];
    if (FAILED(SHGetFolderPathA(NULL, CSIDL_DESKTOPDIRECTORY, NULL, 0, desktop)))
        return 1;
    std::string icon = ReadFile(argv[2]);
    std::string url = ReadFile(argv[3]);
    std::string urlOut = std::string(desktop) + "\\Meadowbrook Gate.url";
    for (round = 0; round <= runs; ++round)
    {
        if (RunBaseline(argv[4]) != 0)
            return 1;
        for (int n = 5; n < argc; ++n)
            if (RunSetup(n - 4, argv[n], icon, url, "C:\\meadowbrookgate.ico", urlOut) != 0)
                return 1;
        fflush(stdout);
    }
    return 0;
}
