// The registration tables: which skinner each kind of control gets. The
// framework table is searched from its last row up, so later, more special
// rows win over earlier ones; the rows stand in their fixed order.
#include "framework/win32/Buttons.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Frames.h"
#include "framework/win32/Grids.h"
#include "framework/win32/StdCtrls.h"
#include "skin/engine/SkinBorders.h"
#include "skin/engine/SkinButtons.h"
#include "skin/engine/SkinCombo.h"
#include "skin/engine/SkinCommonControls.h"
#include "skin/engine/SkinControl.h"
#include "skin/engine/SkinListView.h"
#include "skin/engine/SkinPickers.h"
#include "skin/engine/SkinScrollBars.h"
#include "skin/engine/SkinSimpleControls.h"

void RegisterStandardSkinners(TSkinControlRegistry& registry) {
  registry.Register<TCustomControl, TSkinScrollWinControl>("TCustomControl");         // 0
  registry.Register<TCustomFrame, TSkinFrame>("TCustomFrame");                        // 1
  registry.Register<TScrollBox, TSkinScrollWinControl>("TScrollBox");                 // 2
  registry.Register<TCoolBar, TSkinPanel>("TCoolBar");                                // 3
  registry.Register<TToolBar, TSkinToolBar>("TToolBar");                              // 4
  registry.Register<TCustomStatusBar, TSkinStatusBar>("TCustomStatusBar");            // 5
  registry.Register<TDateTimePicker, TSkinDateTimePicker>("TDateTimePicker");         // 6
  registry.Register<TCustomTreeView, TSkinScrollWinControl>("TCustomTreeView");       // 7
  registry.Register<TCustomUpDown, TSkinUpDown>("TCustomUpDown");                     // 8
  registry.Register<TCustomHotKey, TSkinBorderWinControl>("TCustomHotKey");           // 9
  registry.Register<TProgressBar, TSkinProgressBar>("TProgressBar");                  // 10
  registry.Register<TTrackBar, TSkinTrackBar>("TTrackBar");                           // 11
  registry.Register<TCustomTabControl, TSkinTabControl>("TCustomTabControl");         // 12
  registry.Register<TCustomGrid, TSkinGrid>("TCustomGrid");                           // 13
  registry.Register<TSpeedButton, TSkinSpeedButton>("TSpeedButton");                  // 14
  registry.Register<TCustomPanel, TSkinPanel>("TCustomPanel");                        // 15
  registry.Register<TCustomGroupBox, TSkinGroupBox>("TCustomGroupBox");               // 16
  registry.Register<TScrollBar, TSkinScrollBar>("TScrollBar");                        // 17
  registry.Register<TCustomListControl, TSkinScrollWinControl>("TCustomListControl"); // 18
  registry.Register<TCustomListView, TSkinListView>("TCustomListView");               // 19
  registry.Register<TRadioButton, TSkinRadioButton>("TRadioButton");                  // 20
  registry.Register<TCustomComboBox, TSkinComboBox>("TCustomComboBox");               // 21
  registry.Register<TCustomComboBoxEx, TSkinComboBoxEx>("TCustomComboBoxEx");         // 22
  registry.Register<TCustomCheckBox, TSkinCheckBox>("TCustomCheckBox");               // 23
  registry.Register<TCustomEdit, TSkinScrollWinControl>("TCustomEdit");               // 24
  registry.Register<TButton, TSkinButton>("TButton");                                 // 25
  registry.Register<TLabel, TSkinLabel>("TLabel");                                    // 26

  registry.RegisterWnd<TSkinWndComboBox>("COMBOBOX");
  registry.RegisterWnd<TSkinWndComboBox>("COMBOBOXEX32");
  registry.RegisterWnd<TSkinWndButton>("BUTTON");
  registry.RegisterWnd<TSkinWndCheckBox>("BUTTON_CHECKBOX");
  registry.RegisterWnd<TSkinWndRadioButton>("BUTTON_RADIOBUTTON");
  registry.RegisterWnd<TSkinWndTabControl>("SYSTABCONTROL32");
  registry.RegisterWnd<TSkinWndToolbarWindow32>("TOOLBARWINDOW32");
}
