// The main dialog's layout: its controls anchored to the dialog's edges while it is resized,
// and no smaller than the size it is created at from its template.
#pragma once

#include <windows.h>

// Taken once, at WM_INITDIALOG and before any stored size is applied: the template's size is
// the minimum, and the client size the controls are first laid out for.
void RecordTemplateSize(HWND dialog);
// The dialog's window size, frame included, as created from its template; zero until recorded.
SIZE TemplateWindowSize();

// WM_SIZE: moves and stretches the anchored controls by the change since the last handled size.
void LayoutOnSize(HWND dialog, WPARAM sizeType, int clientWidth, int clientHeight);
// WM_GETMINMAXINFO: the template's size as the minimum tracking size.
void FillMinTrackSize(MINMAXINFO* minMaxInfo);
