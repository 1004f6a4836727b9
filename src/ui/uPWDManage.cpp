#include "ui/uPWDManage.h"

#include "framework/win32/Dialogs.h"
#include "store/uDM.h"
#include "store/uFun.h"

TfPWDManage::TfPWDManage(TComponent* owner) : TfBase(owner) {
  SetCaption("Password Manger");
  BorderStyle = TFormBorderStyle::bsSingle;
  BorderIcons = {true, true, false, false};
  SetClientSize(647, 475);

  // New catalog, delete catalog, new, edit, delete, save, cancel, exit.
  ImageList1 = new TImageList(this);
  AddResourceImages(ImageList1, "TOOLBARIMAGES");
  ActionList1 = new TActionList(this);
  actNewType = ActionList1->Add("actNewType", "New Type", "type", [this](TComponent*) {
    std::string name;
    if (!InputQuery("New Catalog", "Catalog Name", name)) return;
    PubList->AddType(PressedNode, name);
    WritePasswordTables();
    UpdateCommandStates();
  });
  actNewType->SetCaption("New Catalog");
  actDelType = ActionList1->Add("actDelType", "Del Type", "type", [this](TComponent*) {
    TTreeNode* node = PressedNode;
    PressedNode = nullptr;
    PubList->DeleteType(node); // without a question, records and sub-catalogs included
    WritePasswordTables();
    UpdateCommandStates();
  });
  actDelType->SetCaption("Del Catalog");
  actNew = ActionList1->Add("actNew", "New", "files", [this](TComponent*) {
    TClientDataSet& table = PubData->DataSet();
    table.Append();
    table.FieldByName("FTypeId").SetAsInteger(CurrentCatalogId);
    DBEdit1->SetFocus();
    UpdateCommandStates();
  });
  actEdit = ActionList1->Add("actEdit", "Edit", "files", [this](TComponent*) {
    PubData->DataSet().Edit();
    DBEdit1->SetFocus();
    UpdateCommandStates();
  });
  actDel = ActionList1->Add("actDel", "Del", "files", [this](TComponent*) {
    // Only OK deletes: No, Escape and the close box keep the record.
    if (MessageDlg("Delete it, Sure?", TMsgDlgType::mtWarning, {TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK}) != mrOk) return;
    TClientDataSet& table = PubData->DataSet();
    if (table.IsEmpty()) return;
    table.Delete();
    WritePasswordTables();
    UpdateCommandStates();
  });
  actSave = ActionList1->Add("actSave", "Save", "files", [this](TComponent*) {
    TClientDataSet& table = PubData->DataSet();
    if (table.State() != TDataSetState::Edit && table.State() != TDataSetState::Insert) return;
    table.Post();
    WritePasswordTables();
    UpdateCommandStates();
  });
  actCancel = ActionList1->Add("actCancel", "Cancel", "files", [this](TComponent*) {
    TClientDataSet& table = PubData->DataSet();
    if (table.State() != TDataSetState::Edit && table.State() != TDataSetState::Insert) return;
    table.Cancel();
    UpdateCommandStates();
  });

  ToolBar1 = new TToolBar(this);
  ToolBar1->SetParent(this);
  ToolBar1->SetBounds(0, 0, 647, 40);
  ToolBar1->Images = ImageList1;
  auto button = [this](TAction* action, const char* caption, int image) {
    auto* made = new TToolButton(this);
    made->ImageIndex = image;
    if (action) made->SetAction(action);
    if (caption) made->SetCaption(caption);
    if (!action && !caption) made->Style = TToolButtonStyle::tbsSeparator;
    made->SetToolBar(ToolBar1);
    return made;
  };
  button(actNewType, nullptr, 0);
  button(actDelType, nullptr, 1);
  button(nullptr, nullptr, -1);
  button(actNew, nullptr, 2);
  button(actEdit, nullptr, 3);
  button(actDel, nullptr, 4);
  button(nullptr, nullptr, -1);
  button(actSave, nullptr, 5);
  button(actCancel, nullptr, 6);
  button(nullptr, nullptr, -1);
  button(nullptr, "Exit", 7)->OnClick = [this](TComponent*) { Close(); };

  tv = Place<TTreeView>(this, this, 0, 40, 177, 435);
  tv->SetAlign(TAlign::alLeft);
  auto* treeImages = new TImageList(this);
  AddResourceImages(treeImages, "TREEIMAGES");
  tv->SetImages(treeImages);
  tv->SetIndent(28);
  tv->OnChange = [this](TComponent*, TTreeNode* node) {
    if (!node || !node->Data()) return; // no node: neither id nor filter changes
    CurrentCatalogId = node->Data()->FId;
    if (PubList->OnSelectType) PubList->OnSelectType(CurrentCatalogId);
    UpdateCommandStates();
  };
  tv->OnMouseDown = [this](TComponent*, TMouseButton, WPARAM, int x, int y) { PressedNode = tv->GetNodeAt(x, y); };
  PopupMenu1 = new TPopupMenu(this);
  for (TAction* action : {actNewType, actDelType}) {
    auto* item = new TMenuItem(this);
    item->SetAction(action);
    PopupMenu1->Items()->Add(item);
  }
  tv->PopupMenu = PopupMenu1;
  Splitter1 = Place<TSplitter>(this, this, 177, 40, 3, 435);
  Splitter1->SetAlign(TAlign::alLeft);

  Panel1 = Place<TPanel>(this, this, 180, 341, 467, 134);
  Panel1->SetAlign(TAlign::alBottom);
  Panel1->BevelOuter = TBevelCut::bvNone;
  dtsData = new TDataSource(this);
  const char* labels[4] = {"Title:", "URL:", "User:", "Password:"};
  const char* fields[4] = {"FTitle", "FURL", "FUser", "FPassword"};
  TDBEdit** edits[4] = {&DBEdit1, &DBEdit2, &DBEdit3, &DBEdit4};
  for (int i = 0; i < 4; ++i) {
    Place<TLabel>(Panel1, this, 16, 14 + 30 * i, 60, 13)->SetCaption(labels[i]);
    *edits[i] = Place<TDBEdit>(Panel1, this, 84, 10 + 30 * i, 360, 21);
    (*edits[i])->DataField = fields[i];
    (*edits[i])->Anchors = akLeft | akTop | akRight;
  }
  grdData = Place<TDBGrid>(this, this, 180, 40, 467, 301);
  grdData->SetAlign(TAlign::alClient);
  grdData->Columns = {{"FTitle", 88, ""}, {"FURL", 174, ""}, {"FUser", 104, ""}, {"FPassword", 72, ""}};

  // A record still being typed when the window closes is posted, not lost.
  OnCloseQuery = [](TComponent*, bool&) {
    if (!PubData) return;
    TClientDataSet& table = PubData->DataSet();
    if (table.State() == TDataSetState::Edit || table.State() == TDataSetState::Insert) table.Post();
  };
}

TfPWDManage::~TfPWDManage() {
  // The tables outlive the window; its tree and grid do not.
  if (PubList) PubList->DetachTree();
  if (PubData) dtsData->SetDataSet(nullptr);
}

void TfPWDManage::SetUp() {
  CurrentCatalogId = 0;
  PubList = std::make_unique<TPubList>(&tv->Model());
  PubData = std::make_unique<TPubData>();
  PubList->OnDeleteType = [](std::int32_t id) { PubData->DeleteByType(id); };
  PubList->OnSelectType = [](std::int32_t id) { PubData->SelectType(id); };
  LoadPwdData(); // raises for a book of another account: the window is not shown
  dtsData->SetDataSet(&PubData->DataSet());
  for (TDBEdit* edit : {DBEdit1, DBEdit2, DBEdit3, DBEdit4}) edit->SetDataSource(dtsData);
  grdData->SetDataSource(dtsData);
  UpdateCommandStates();
  FillTypeTree(tv->Model(), *PubList);
}

void TfPWDManage::UpdateCommandStates() {
  if (!PubData) return;
  const TClientDataSet& table = PubData->DataSet();
  const bool browsing = table.State() == TDataSetState::Browse || table.State() == TDataSetState::Inactive;
  const bool selected = tv->HandleAllocated() && tv->Selected() != nullptr;
  actNewType->SetEnabled(browsing);
  actDelType->SetEnabled(browsing);
  actNew->SetEnabled(browsing && selected);
  actEdit->SetEnabled(browsing && selected);
  actDel->SetEnabled(browsing && !table.IsEmpty() && selected);
  actSave->SetEnabled(!browsing && selected);
  actCancel->SetEnabled(!browsing && selected);
}

void TfPWDManage::WritePasswordTables() { SavePwdData(); }

void ShowPwdManageWindow() {
  TfPWDManage window(nullptr);
  window.SetUp();
  window.ShowModal();
}
