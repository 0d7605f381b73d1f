// A Win32 helper for the end-to-end tests and scripts/run: starts the setup
// program as its parent (so the full exit status can be read, which
// `wine program.exe` cuts to 8 bits) and looks at its dialog from outside,
// the way the window system shows it to a user.
//
//   setup_driver run PIDFILE EXITFILE PROGRAM [ARGS...]
//                                                 start, wait, write status
//   setup_driver stop PID                         end the program it started
//   setup_driver wait                             until the dialog is shown
//   setup_driver status                           the status line's text
//   setup_driver button ID                        screen centre of a control
//   setup_driver focus                            id of the focused control
//   setup_driver geometry PROGRAM                 where the dialog sits
//   setup_driver close                            the caption's close command
//   setup_driver ok-all COUNT                     OK in each of COUNT dialogs
#include "resource.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static const char DialogTitle[] = "meadowbrookgate_setup";

static HWND FindSetupDialog()
{
    return FindWindowA(MAKEINTATOM(32770), DialogTitle);
}

static HWND WaitForDialog(DWORD milliseconds)
{
    for (DWORD waited = 0; waited <= milliseconds; waited += 20)
    {
        HWND dialog = FindSetupDialog();
        if (dialog != NULL && IsWindowVisible(dialog))
            return dialog;
        Sleep(20);
    }
    return NULL;
}

static INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Where the dialog manager puts a dialog made from the program's own
// template, measured on a copy made here: the place the template asks for.
static BOOL TemplateWindowRect(const char *program, RECT *area)
{
    HMODULE module = LoadLibraryExA(program, NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(IDD_SETUP), RT_DIALOG) : NULL;
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    const BYTE *bytes = loaded ? (const BYTE *)LockResource(loaded) : NULL;
    HWND copy = NULL;
    if (bytes != NULL)
    {
        // The copy stays hidden: shown, it would take the activation from
        // the program's dialog, and keys meant for that would go astray.
        std::string hidden((const char *)bytes, SizeofResource(module, found));
        DLGTEMPLATE *dialogTemplate = (DLGTEMPLATE *)&hidden[0];
        dialogTemplate->style &= ~WS_VISIBLE;
        copy = CreateDialogIndirectParamA(GetModuleHandleA(NULL), dialogTemplate, NULL,
                                          IgnoreMessages, 0);
    }
    BOOL ok = copy != NULL && GetWindowRect(copy, area);
    if (copy != NULL)
        DestroyWindow(copy);
    if (module != NULL)
        FreeLibrary(module);
    return ok;
}

static std::string Quoted(const char *argument)
{
    return std::string("\"") + argument + "\"";
}

static int WriteNumber(const char *path, long number)
{
    FILE *out = fopen(path, "w");
    if (out == NULL)
        return 1;
    fprintf(out, "%ld\n", number);
    return fclose(out) == 0 ? 0 : 1;
}

// The program's id goes to PIDFILE, so that a test can end the one process
// it started and nothing else; the exit status goes to EXITFILE while the
// process handle is still open, so the id can't name another process
// before the status is there.
static int RunProgram(int argc, char **argv)
{
    if (argc < 5)
        return 2;
    const char *pidFile = argv[2];
    const char *exitFile = argv[3];
    const char *program = argv[4];
    std::string commandLine = Quoted(program);
    for (int i = 5; i < argc; ++i)
        commandLine += std::string(" ") + argv[i];
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
    {
        fprintf(stderr, "setup_driver: cannot start %s (error %lu)\n", program, GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    int failed = WriteNumber(pidFile, (long)process.dwProcessId);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    failed |= WriteNumber(exitFile, (long)exitCode);
    CloseHandle(process.hProcess);
    return failed;
}

static int StopProgram(DWORD id)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process == NULL)
        return 1;
    BOOL ended =
        TerminateProcess(process, 1) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended ? 0 : 1;
}

struct SetupDialogs
{
    HWND dialogs[8];
    int count;
};

static BOOL CALLBACK AddSetupDialog(HWND window, LPARAM list)
{
    SetupDialogs *found = (SetupDialogs *)list;
    char title[sizeof DialogTitle + 1] = "";
    char windowClass[8] = "";
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (IsWindowVisible(window) && strcmp(title, DialogTitle) == 0 &&
        strcmp(windowClass, "#32770") == 0 && found->count < 8)
        found->dialogs[found->count++] = window;
    return TRUE;
}

// Waits for count copies of the dialog, then presses OK in each, one right
// after another, as a user who started the program twice would.
static int PressOkInEvery(int count)
{
    SetupDialogs found = {{NULL}, 0};
    for (DWORD waited = 0; found.count < count && waited <= 20000; waited += 20)
    {
        Sleep(20);
        found.count = 0;
        EnumWindows(AddSetupDialog, (LPARAM)&found);
    }
    if (found.count < count)
        return 1;
    for (int i = 0; i < found.count; ++i)
        PostMessageA(found.dialogs[i], WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     (LPARAM)GetDlgItem(found.dialogs[i], IDOK));
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    const char *command = argv[1];
    if (strcmp(command, "run") == 0)
        return RunProgram(argc, argv);
    if (strcmp(command, "stop") == 0 && argc == 3)
        return StopProgram((DWORD)strtoul(argv[2], NULL, 10));
    if (strcmp(command, "ok-all") == 0 && argc == 3)
        return PressOkInEvery(atoi(argv[2]));

    HWND dialog = WaitForDialog(strcmp(command, "wait") == 0 ? 20000 : 2000);
    if (dialog == NULL)
    {
        fprintf(stderr, "setup_driver: no dialog titled %s\n", DialogTitle);
        return 1;
    }
    if (strcmp(command, "wait") == 0)
        return 0;
    if (strcmp(command, "status") == 0)
    {
        char text[256] = "";
        GetDlgItemTextA(dialog, IDC_STATUS, text, sizeof text);
        printf("%s\n", text);
        return 0;
    }
    if (strcmp(command, "button") == 0 && argc == 3)
    {
        RECT area;
        if (!GetWindowRect(GetDlgItem(dialog, atoi(argv[2])), &area))
            return 1;
        printf("%ld %ld\n", (area.left + area.right) / 2, (area.top + area.bottom) / 2);
        return 0;
    }
    if (strcmp(command, "focus") == 0)
    {
        GUITHREADINFO info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, NULL), &info) ||
            info.hwndFocus == NULL)
            return 1;
        printf("%d\n", GetDlgCtrlID(info.hwndFocus));
        return 0;
    }
    if (strcmp(command, "geometry") == 0 && argc == 3)
    {
        RECT window;
        GetWindowRect(dialog, &window);
        RECT expected;
        if (!TemplateWindowRect(argv[2], &expected))
            return 1;
        int width = window.right - window.left, height = window.bottom - window.top;
        printf("at %ld %ld template %ld %ld centred %d %d\n", window.left, window.top,
               expected.left, expected.top, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
        return 0;
    }
    if (strcmp(command, "close") == 0)
        return PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    return 2;
}
