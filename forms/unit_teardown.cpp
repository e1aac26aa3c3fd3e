// Ending a unit's live object with its platform window.
#include "forms/unit_teardown.h"

#include "forms/form_requests.h"
#include "runtime/notify.h"

LRESULT EndUnitObject(UnitObject* object, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DetachUnitObject(hwnd);
    RuntimeNotify(kRequestUnitGone, ToWord(object), 0);
    LRESULT answer = CallBaseProc(object, hwnd, message, wParam, lParam);
    delete object;
    return answer;
}
