#include "ui/CAPPCommonServiceWnd.h"

CAPPCommonServiceWnd& CAPPCommonServiceWnd::Instance() {
  static CAPPCommonServiceWnd window;
  return window;
}
