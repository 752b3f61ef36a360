// Where a dialog template puts things, in pixels for base units chosen by the caller.
//
// The dialog manager sizes a dialog from the base units of its template's font, which is
// whatever face the system resolves the name to. The launcher's skin is drawn for the base
// units 6 by 13 (the template's font on Windows); elsewhere the face, and with it every
// control's place, can differ (under Wine "Microsoft Sans Serif" bold measures 8 by 13 and
// pushes the window buttons off the skin). Laying the dialog out again for fixed base units
// puts it on the skin's pixels whatever font the system has.
#pragma once
#include <windows.h>
#include <vector>

struct CDialogTemplateLayout {
    struct Item {
        int id;
        short x, y, cx, cy; // dialog units
    };
    short cx = 0, cy = 0; // dialog units
    std::vector<Item> items;
};

// Reads the size and the controls' places of an extended dialog template (DIALOGEX) of
// `module`. False for a missing, cut or non-extended template.
bool ReadDialogTemplateLayout(HMODULE module, LPCWSTR name, CDialogTemplateLayout* layout);

// The pixel rectangle of a template rectangle for base units `units`, mapped as the dialog
// manager maps control positions and sizes (each value on its own, halves rounded away from 0).
RECT DialogUnitsToPixels(short x, short y, short cx, short cy, SIZE units);

// Gives `dialog` the client size and its controls (found by id) the places the layout has for
// base units `units`. Controls the layout does not name are left where they are.
void ApplyDialogTemplateLayout(HWND dialog, const CDialogTemplateLayout& layout, SIZE units);
