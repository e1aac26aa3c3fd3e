// The numbers of an `EditBox` unit: its own properties as the property
// services index them, and its one own event.
#pragma once

#include <cstdint>

enum EditBoxProperty : int32_t {
    kEditContent = 8,
    kEditBorder = 9,
    kEditTextColour = 10,
    kEditBackColour = 11,
    kEditFont = 12,
    kEditHideSelection = 13,
    kEditMaxLength = 14,
    kEditMultiLine = 15,
    kEditScrollBars = 16,
    kEditAlign = 17,
    kEditInputMode = 18,
    kEditPasswordChar = 19,
    kEditCaseConversion = 20,
    kEditSpin = 21,
    kEditSpinMin = 22,
    kEditSpinMax = 23,
    kEditSelectionStart = 24,
    kEditSelectionLength = 25,
    kEditDataSource = 26,
    kEditDataColumn = 27,
    kEditSelectedText = 28,  // not stored: the live control's selection
};

// The content changed (typed by the user or written by the program).
constexpr int32_t kEditChange = 0;
