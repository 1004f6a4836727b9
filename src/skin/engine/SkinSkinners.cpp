// The registration tables: which skinner each kind of control gets. Later
// rows win over earlier ones.
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinButtons.h"
#include "skin/engine/SkinControl.h"

void RegisterStandardSkinners(TSkinControlRegistry& registry) {
  registry.Register<TButton, TSkinButton>("TButton");
  registry.RegisterWnd<TSkinWndButton>("BUTTON");
}
