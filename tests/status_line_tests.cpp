// What the user sees in the status line, read back from the screen: a
// shorter message must not leave the prompt's tail behind it.
#include "icon_file.h"
#include "resource.h"
#include "test_support.h"

using StatusLineTest = SetupDialogTest;

static void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// Counts the pixels of the status line, from column left on, whose colour
// differs from the dialog's background.
static int InkPixelsFrom(HWND dialog, int left)
{
    HWND status = GetDlgItem(dialog, IDC_STATUS);
    RECT area;
    GetClientRect(status, &area);
    HDC screen = GetDC(dialog);
    COLORREF background = GetPixel(screen, 1, 1);
    ReleaseDC(dialog, screen);
    HDC dc = GetDC(status);
    int ink = 0;
    for (int y = 0; y < area.bottom; ++y)
        for (int x = left; x < area.right; ++x)
            ink += GetPixel(dc, x, y) != background;
    ReleaseDC(status, dc);
    return ink;
}

static int TextWidth(HWND dialog, const char *text)
{
    HWND status = GetDlgItem(dialog, IDC_STATUS);
    HDC dc = GetDC(status);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(status, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(status, dc);
    return size.cx;
}

TEST_F(StatusLineTest, ShorterMessageLeavesNoTraceOfThePrompt)
{
    UpdateWindow(dialog_);
    PumpMessages();
    int messageEnd = TextWidth(dialog_, IconFailureText) + 2;
    ASSERT_LT(messageEnd, TextWidth(dialog_, PromptText));
    ASSERT_GT(InkPixelsFrom(dialog_, messageEnd), 0)
        << "the prompt should reach past the message's width";

    ASSERT_TRUE(CreateDirectoryA(IconPath, NULL));
    ASSERT_EQ(1, WriteIconFile(dialog_, "C:\\"));
    PumpMessages();
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
    EXPECT_GT(InkPixelsFrom(dialog_, 0), 0) << "the message itself is on screen";
    EXPECT_EQ(0, InkPixelsFrom(dialog_, messageEnd)) << "the end of the prompt is still visible";
}
