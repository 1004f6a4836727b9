#include "ui/uPWDManage.h"

#include "framework/win32/Dialogs.h"
#include "platform/Random.h"
#include "platform/Services.h"
#include "store/uDM.h"
#include "store/uFun.h"
#include "ui/AccountSettings.h"
#include "ui/PasswordTools.h"
#include "ui/uGenerateOptions.h"

// Keeps the record commands in step with the record the grid shows.
class TfPWDManage::TRecordWatch : public IDataLink {
public:
  explicit TRecordWatch(TfPWDManage& form) : form_(form) {}
  void DataChanged(TDataEvent) override { form_.UpdateRecordCommands(); }

private:
  TfPWDManage& form_;
};

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
    CloseFind(); // the catalog commands work on whole catalogs, not on what the find box shows
    std::string name;
    if (!InputQuery("New Catalog", "Catalog Name", name)) return;
    ShowCatalogImage(PubList->AddType(PressedNode, name));
    WritePasswordTables();
    UpdateCommandStates();
  });
  actDelType = ActionList1->Add("actDelType", "Del Type", "type", [this](TComponent*) {
    CloseFind(); // every record of the catalog goes, not only those the find box shows
    TTreeNode* node = PressedNode;
    PressedNode = nullptr;
    PubList->DeleteType(node); // without a question, records and sub-catalogs included
    WritePasswordTables();
    UpdateCommandStates();
  });
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
  ToolBar1->ButtonWidth = 68;
  ToolBar1->ButtonHeight = 36;
  auto button = [this](TAction* action, const char* caption, int image) {
    auto* made = new TToolButton(this);
    made->ImageIndex = image;
    if (action) made->SetAction(action);
    if (caption) made->SetCaption(caption);
    if (!action && !caption) made->Style = TToolButtonStyle::tbsSeparator;
    made->SetToolBar(ToolBar1);
    return made;
  };
  // The catalog commands are shown by names of their own.
  button(actNewType, "New Catalog", 0);
  button(actDelType, "Del Catalog", 1);
  button(nullptr, nullptr, -1);
  button(actNew, nullptr, 2);
  button(actEdit, nullptr, 3);
  button(actDel, nullptr, 4);
  button(nullptr, nullptr, -1);
  button(actSave, nullptr, 5);
  button(actCancel, nullptr, 6);
  button(nullptr, nullptr, -1);
  button(nullptr, "Exit", 7)->OnClick = [this](TComponent*) { Close(); };

  // The find box: above the grid, shown by Find.
  pnlFind = Place<TPanel>(this, this, 0, 40, 647, 30);
  pnlFind->SetAlign(TAlign::alTop);
  pnlFind->BevelOuter = TBevelCut::bvNone;
  Place<TLabel>(pnlFind, this, 186, 9, 30, 13)->SetCaption("Find:");
  edtFind = Place<TEdit>(pnlFind, this, 222, 5, 300, 21);
  edtFind->OnChange = [this](TComponent*) { ApplyFind(); };
  edtFind->OnKeyDown = [this](TComponent*, WORD& key, WPARAM) {
    if (key == VK_RETURN) {
      key = 0;
      ChooseFound();
    } else if (key == VK_ESCAPE) {
      key = 0;
      CloseFind();
    }
  };
  pnlFind->SetVisible(false);

  tv = Place<TTreeView>(this, this, 0, 40, 177, 435);
  tv->SetAlign(TAlign::alLeft);
  tv->SetImages(ImageList1); // its first image is the catalog
  tv->SetIndent(28);
  tv->OnChange = [this](TComponent*, TTreeNode* node) {
    if (!node || !node->Data()) return; // no node: neither id nor filter changes
    CloseFind(); // a catalog chosen in the tree ends the search
    CurrentCatalogId = node->Data()->FId;
    if (PubList->OnSelectType) PubList->OnSelectType(CurrentCatalogId);
    UpdateCommandStates();
  };
  tv->OnMouseDown = [this](TComponent*, TMouseButton, WPARAM, int x, int y) { PressedNode = tv->GetNodeAt(x, y); };
  PopupMenu1 = new TPopupMenu(this);
  for (auto [action, caption] : {std::pair{actNewType, "New Catalog"}, std::pair{actDelType, "Del Catalog"}}) {
    auto* item = new TMenuItem(this);
    item->SetAction(action);
    item->SetCaption(caption);
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
    // The password's edit leaves room for the generator beside it.
    *edits[i] = Place<TDBEdit>(Panel1, this, 84, 10 + 30 * i, i == 3 ? 253 : 360, 21);
    (*edits[i])->DataField = fields[i];
    (*edits[i])->Anchors = akLeft | akTop | akRight;
  }
  btnGenerate = Place<TButton>(Panel1, this, 341, 99, 75, 23);
  btnGenerateOptions = Place<TButton>(Panel1, this, 420, 99, 24, 23);
  for (TButton* b : {btnGenerate, btnGenerateOptions}) b->Anchors = akTop | akRight;
  lblClipboard = Place<TLabel>(Panel1, this, 84, 121, 300, 13);
  lblClipboard->SetCaption("");
  grdData = Place<TDBGrid>(this, this, 180, 40, 467, 301);
  grdData->SetAlign(TAlign::alClient);
  grdData->Columns = {{"FTitle", 88, "", ""}, {"FURL", 174, "", ""}, {"FUser", 104, "", ""}, {"FPassword", 72, "", ""}};
  BuildDailyCommands();

  // A record still being typed when the window closes is posted, not lost.
  OnCloseQuery = [](TComponent*, bool&) {
    if (!PubData) return;
    TClientDataSet& table = PubData->DataSet();
    if (table.State() == TDataSetState::Edit || table.State() == TDataSetState::Insert) table.Post();
  };
}

TfPWDManage::~TfPWDManage() {
  // A secret copied from this window does not outlive it on the clipboard.
  SecretClipboard.reset();
  if (recordWatch_) dtsData->RemoveLink(recordWatch_.get());
  if (finding_ && PubData) {
    try {
      PubData->DataSet().SetRecordFilter(nullptr);
    } catch (...) {
      // the table outlives the window; its view does not matter any more
    }
  }
  // The tables outlive the window; its tree and grid do not.
  if (PubList) PubList->DetachTree();
  if (PubData) dtsData->SetDataSet(nullptr);
}

void TfPWDManage::BuildDailyCommands() {
  SecretClipboard = std::make_unique<TSecretClipboard>(this, lblClipboard, this);
  auto copy = [this](const char* field) {
    const std::string text = CurrentField(field);
    if (!text.empty()) SecretClipboard->Copy(text);
  };
  actCopyUser = ActionList1->Add("actCopyUser", "Copy User Name", "files", [copy](TComponent*) { copy("FUser"); });
  actCopyPassword =
      ActionList1->Add("actCopyPassword", "Copy Password", "files", [copy](TComponent*) { copy("FPassword"); });
  actCopyURL = ActionList1->Add("actCopyURL", "Copy URL", "files", [copy](TComponent*) { copy("FURL"); });
  actOpenURL = ActionList1->Add("actOpenURL", "Open URL", "files", [this](TComponent*) {
    const std::string url = UrlToOpen(CurrentField("FURL")); // a file or a command is refused with a message
    platform::Shell().Execute({"open", url, "", "", SW_SHOWNORMAL, reinterpret_cast<std::uintptr_t>(Handle())});
  });
  actFind = ActionList1->Add("actFind", "Find", "files", [this](TComponent*) { OpenFind(); });
  actHidePasswords = ActionList1->Add("actHidePasswords", "Hide Passwords", "files", [this](TComponent*) {
    SetPasswordsHidden(!itmHidePasswords->Checked());
    TAccountSettings().SetHidePasswords(itmHidePasswords->Checked());
  });
  actGenerate = ActionList1->Add("actGenerate", "Generate", "files", [this](TComponent*) {
    if (!Editing()) return;
    const std::string password = GeneratePassword(TAccountSettings().PasswordOptions(), platform::SecureRandomBytes);
    PubData->DataSet().FieldByName("FPassword").SetAsString(password);
  });
  actGenerateOptions = ActionList1->Add("actGenerateOptions", "...", "files", [](TComponent*) {
    TPasswordOptions options = TAccountSettings().PasswordOptions();
    if (ShowGenerateOptions(options)) TAccountSettings().SetPasswordOptions(options);
  });
  btnGenerate->SetAction(actGenerate);
  btnGenerateOptions->SetAction(actGenerateOptions);

  ppGrid = new TPopupMenu(this);
  auto item = [this](TAction* action, TShortCut shortCut) {
    auto* made = new TMenuItem(this);
    if (action) {
      made->SetAction(action);
      made->ShortCut = shortCut;
    } else {
      made->SetCaption("-");
    }
    ppGrid->Items()->Add(made);
    return made;
  };
  item(actCopyUser, scCtrl | 'B');
  item(actCopyPassword, scCtrl | 'C');
  item(actCopyURL, 0);
  item(actOpenURL, scCtrl | 'U');
  item(nullptr, 0);
  item(actFind, scCtrl | 'F');
  item(nullptr, 0);
  itmHidePasswords = item(actHidePasswords, 0);
  ppGrid->OnPopup = [this](TComponent*) { UpdateRecordCommands(); };
  grdData->PopupMenu = ppGrid;
  // The shortcuts act where the records are looked at, so that Ctrl+C in
  // an edit still copies its selected text.
  grdData->OnKeyDown = [this](TComponent*, WORD& key, WPARAM) { ShortCutKeys(key); };
  tv->OnKeyDown = [this](TComponent*, WORD& key, WPARAM) { ShortCutKeys(key); };
  grdData->OnDblClick = [this](TComponent*) {
    if (finding_) ChooseFound();
  };
}

void TfPWDManage::ShortCutKeys(WORD& key) {
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0) return;
  TAction* action = key == 'B'   ? actCopyUser
                    : key == 'C' ? actCopyPassword
                    : key == 'U' ? actOpenURL
                    : key == 'F' ? actFind
                                 : nullptr;
  if (!action) return;
  key = 0;
  UpdateRecordCommands();
  action->Execute();
}

std::string TfPWDManage::CurrentField(const char* field) const {
  if (!PubData) return {};
  TClientDataSet& table = PubData->DataSet();
  if (!table.Active() || (table.IsEmpty() && table.State() != TDataSetState::Insert)) return {};
  return table.FieldByName(field).AsString();
}

bool TfPWDManage::Editing() const {
  if (!PubData) return false;
  const TDataSetState state = PubData->DataSet().State();
  return state == TDataSetState::Edit || state == TDataSetState::Insert;
}

void TfPWDManage::UpdateRecordCommands() {
  actCopyUser->SetEnabled(!CurrentField("FUser").empty());
  actCopyPassword->SetEnabled(!CurrentField("FPassword").empty());
  actCopyURL->SetEnabled(!CurrentField("FURL").empty());
  actOpenURL->SetEnabled(!CurrentField("FURL").empty());
  actGenerate->SetEnabled(Editing());
  actFind->SetEnabled(!Editing()); // a record being typed is saved or cancelled first
}

void TfPWDManage::SetPasswordsHidden(bool hidden) {
  itmHidePasswords->SetChecked(hidden);
  grdData->Columns[3].Mask = hidden ? "********" : "";
  grdData->Invalidate();
}

void TfPWDManage::OpenFind() {
  if (!PubData || !PubData->DataSet().Active()) return;
  if (!finding_) {
    TClientDataSet& table = PubData->DataSet();
    filteredBeforeFind_ = table.Filtered();
    filterBeforeFind_ = table.Filter();
    finding_ = true;
    pnlFind->SetVisible(true);
    ApplyFind();
  }
  edtFind->SetFocus();
  SendMessageA(edtFind->Handle(), EM_SETSEL, 0, -1); // typing starts a new search
  UpdateCommandStates();
}

void TfPWDManage::PostPendingRecord() {
  // Changing the view ends an edit: what was typed reaches the table, and so the file.
  if (!Editing()) return;
  PubData->DataSet().Post();
  WritePasswordTables();
}

void TfPWDManage::ApplyFind() {
  if (!finding_) return;
  PostPendingRecord();
  TClientDataSet& table = PubData->DataSet();
  const int title = table.FindField("FTitle"), url = table.FindField("FURL"), user = table.FindField("FUser");
  auto text = [](const TFieldValue& value) {
    const auto* s = std::get_if<std::string>(&value);
    return s ? *s : std::string();
  };
  const std::string wanted = edtFind->Text();
  // Records of every catalog; passwords are never searched.
  table.SetFiltered(false);
  table.SetRecordFilter([=](const TRecord& row) {
    return RecordMatches(text(row[static_cast<std::size_t>(title)]), text(row[static_cast<std::size_t>(url)]),
                         text(row[static_cast<std::size_t>(user)]), wanted);
  });
  UpdateCommandStates();
}

void TfPWDManage::ChooseFound() {
  if (!finding_) return;
  PostPendingRecord();
  TClientDataSet& table = PubData->DataSet();
  if (table.IsEmpty()) return;
  const TClientDataSet::TBookmark found = table.GetBookmark();
  const int catalog = table.FieldByName("FTypeId").AsInteger();
  finding_ = false;
  table.SetRecordFilter(nullptr);
  pnlFind->SetVisible(false);
  // The found record's catalog, as a click on it gives it (also when it is
  // selected already, which the tree does not announce again).
  if (TTreeNode* node = PubList->FindNode(catalog)) {
    tv->SetSelected(node);
    CurrentCatalogId = catalog;
    if (PubList->OnSelectType) PubList->OnSelectType(catalog);
  } else {
    table.SetFiltered(false); // a record of no catalog: shown among all
  }
  table.GotoBookmark(found);
  grdData->SetFocus();
  UpdateCommandStates();
}

void TfPWDManage::CloseFind() {
  if (!finding_) return;
  PostPendingRecord();
  TClientDataSet& table = PubData->DataSet();
  finding_ = false;
  table.SetRecordFilter(nullptr);
  // The catalog view as it was before.
  table.SetFilter(filterBeforeFind_);
  table.SetFiltered(filteredBeforeFind_);
  pnlFind->SetVisible(false);
  grdData->SetFocus();
  UpdateCommandStates();
}

void TfPWDManage::WndProc(TMessage& m) {
  // The session ends without closing the window: the secret goes first.
  if (m.Msg == WM_ENDSESSION && m.WParam) SecretClipboard->ClearNow();
  TfBase::WndProc(m);
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
  recordWatch_ = std::make_unique<TRecordWatch>(*this);
  dtsData->AddLink(recordWatch_.get());
  SetPasswordsHidden(TAccountSettings().HidePasswords());
  UpdateCommandStates();
  FillTypeTree(tv->Model(), *PubList);
  for (TTreeNode* node = tv->Items().GetFirstNode(); node; node = node->GetNext()) ShowCatalogImage(node);
}

void TfPWDManage::UpdateCommandStates() {
  if (!PubData) return;
  const TClientDataSet& table = PubData->DataSet();
  const bool browsing = table.State() == TDataSetState::Browse || table.State() == TDataSetState::Inactive;
  const bool selected = tv->HandleAllocated() && tv->Selected() != nullptr;
  actNewType->SetEnabled(browsing);
  actDelType->SetEnabled(browsing);
  actNew->SetEnabled(browsing && selected && !finding_); // a new record needs its catalog
  actEdit->SetEnabled(browsing && selected);
  actDel->SetEnabled(browsing && !table.IsEmpty() && selected);
  actSave->SetEnabled(!browsing && selected);
  actCancel->SetEnabled(!browsing && selected);
  UpdateRecordCommands();
}

void TfPWDManage::WritePasswordTables() { SavePwdData(); }

void TfPWDManage::ShowCatalogImage(TTreeNode* node) {
  // A catalog shows the first image of ImageList1, as a new node of the
  // framework this window is written for does.
  if (!node || node->ImageIndex() >= 0) return;
  node->SetImageIndex(0);
  node->SetSelectedIndex(0);
}

void ShowPwdManageWindow() {
  TfPWDManage window(nullptr);
  window.SetUp();
  window.ShowModal();
}
