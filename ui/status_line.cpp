#include "status_line.h"

#include "resource.h"

void ShowStatusMessage(HWND dialog, const char *message)
{
    SetDlgItemTextA(dialog, IDC_STATUS, message);

    // A simple static draws its text without erasing its background, so a
    // shorter message would leave the tail of the prompt on screen. Erase the
    // dialog's background under the line, then let the line draw itself.
    HWND status = GetDlgItem(dialog, IDC_STATUS);
    RECT area;
    if (status == NULL || !GetWindowRect(status, &area))
        return;
    MapWindowPoints(HWND_DESKTOP, dialog, (POINT *)&area, 2);
    RedrawWindow(dialog, &area, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
