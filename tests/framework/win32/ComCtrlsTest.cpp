// The tree view keeps the native control in step with its model; image
// lists and timers.
#include <gtest/gtest.h>

#include "framework/win32/ComCtrls.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"

namespace {

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[256] = {};
  TVITEMA data{};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

// The native tree as text, in tree order: "a;.b;" for a with child b.
std::string NativeShape(HWND tree, HTREEITEM first, int depth = 0) {
  std::string shape;
  for (HTREEITEM item = first; item;
       item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    shape += std::string(static_cast<std::size_t>(depth), '.') + ItemText(tree, item) + ";";
    shape += NativeShape(
        tree, reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
        depth + 1);
  }
  return shape;
}

std::string NativeShape(TTreeView& tree) {
  return NativeShape(tree.Handle(),
                     reinterpret_cast<HTREEITEM>(SendMessageA(tree.Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

class ComCtrlsTest : public ::testing::Test {
protected:
  ComCtrlsTest() : form(&app) {
    tree = new TTreeView(&form);
    tree->SetParent(&form);
    tree->SetAlign(TAlign::alClient);
  }
  TApplication app;
  TForm form;
  TTreeView* tree;
};

} // namespace

TEST_F(ComCtrlsTest, TheNativeTreeFollowsAddDeleteClearAndRebuild) {
  TTreeNodes& items = tree->Items();
  TTreeNode* a = items.AddChild(nullptr, "a"); // before the window exists
  items.AddChild(a, "a1");
  form.Show();
  EXPECT_EQ(NativeShape(*tree), "a;.a1;");
  TTreeNode* b = items.AddChild(nullptr, "b");
  TTreeNode* b1 = items.AddChild(b, "b1");
  items.AddChild(b1, "b11");
  EXPECT_EQ(NativeShape(*tree), "a;.a1;b;.b1;..b11;");
  b1->SetText("renamed");
  EXPECT_EQ(NativeShape(*tree), "a;.a1;b;.renamed;..b11;");
  items.Delete(b1);
  EXPECT_EQ(NativeShape(*tree), "a;.a1;b;");
  EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETCOUNT, 0, 0), 3);
  items.BeginUpdate();
  items.Clear();
  for (const char* name : {"x", "y", "z"}) items.AddChild(nullptr, name);
  items.EndUpdate();
  EXPECT_EQ(NativeShape(*tree), "x;y;z;");
  EXPECT_NE(tree->ItemOf(items.GetFirstNode()), nullptr);
  // A new window (recreated) is filled from the model again.
  tree->DestroyHandle();
  EXPECT_EQ(NativeShape(*tree), "x;y;z;");
}

TEST_F(ComCtrlsTest, SelectionChangeAndNodeUnderAPoint) {
  form.SetClientSize(200, 200);
  TTreeNode* a = tree->Items().AddChild(nullptr, "a");
  TTreeNode* b = tree->Items().AddChild(nullptr, "b");
  form.Show();
  std::vector<TTreeNode*> changes;
  tree->OnChange = [&](TComponent*, TTreeNode* node) { changes.push_back(node); };
  tree->SetSelected(b);
  EXPECT_EQ(tree->Selected(), b);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), b);
  RECT r{};
  TreeView_GetItemRect(tree->Handle(), tree->ItemOf(a), &r, TRUE);
  EXPECT_EQ(tree->GetNodeAt(r.left + 2, (r.top + r.bottom) / 2), a);
  EXPECT_EQ(tree->GetNodeAt(r.left + 2, 190), nullptr) << "empty space";
  std::vector<TMouseButton> presses;
  tree->OnMouseDown = [&](TComponent*, TMouseButton button, WPARAM, int, int) { presses.push_back(button); };
  // Posted as a person's clicks arrive: the tree waits for the release in a loop of its own.
  PostMessageA(tree->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(r.left + 2, (r.top + r.bottom) / 2));
  PostMessageA(tree->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(r.left + 2, (r.top + r.bottom) / 2));
  app.ProcessMessages();
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0], TMouseButton::mbRight);
}

TEST_F(ComCtrlsTest, ImagesAndIndent) {
  auto* images = new TImageList(&form);
  const int folder = images->AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
  EXPECT_EQ(folder, 0);
  EXPECT_EQ(images->Count(), 1);
  EXPECT_EQ(images->AddIcon(std::unique_ptr<platform::TIcon>()), -1);
  tree->SetImages(images);
  tree->SetIndent(24);
  TTreeNode* node = tree->Items().AddChild(nullptr, "with image");
  node->SetImageIndex(0);
  node->SetSelectedIndex(0);
  form.Show();
  TVITEMA data{};
  data.mask = TVIF_IMAGE | TVIF_HANDLE;
  data.hItem = tree->ItemOf(node);
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  EXPECT_EQ(data.iImage, 0);
  EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), reinterpret_cast<LRESULT>(images->Handle()));
  EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETINDENT, 0, 0), 24);
  EXPECT_EQ(tree->Model().Images, images) << "the tree builders reach the image list through the model";
}

TEST_F(ComCtrlsTest, TimersFireInTheMessageLoop) {
  TTimer timer(&form);
  timer.SetEnabled(false);
  int ticks = 0;
  timer.OnTimer = [&](TComponent*) {
    if (++ticks == 3) timer.SetEnabled(false);
  };
  timer.SetInterval(20);
  timer.SetEnabled(true);
  const DWORD start = GetTickCount();
  while (ticks < 3 && GetTickCount() - start < 5000) app.HandleMessage();
  EXPECT_EQ(ticks, 3);
}

TEST_F(ComCtrlsTest, MaskedBitmapsAndDrawingFromTheImageList) {
  TImageList images(&form);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 16, 16}, dot{4, 4, 12, 12};
  HBRUSH key = CreateSolidBrush(RGB(255, 0, 255)), blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &all, key);
  FillRect(dc, &dot, blue);
  SelectObject(dc, old);
  EXPECT_EQ(images.AddMasked(bitmap, RGB(255, 0, 255)), 0);
  // Drawn on white: the keyed pixels stay white, the dot is blue.
  HBITMAP target = CreateCompatibleBitmap(screen, 16, 16);
  old = SelectObject(dc, target);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &all, white);
  images.Draw(dc, 0, 0, 0);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 8, 8), RGB(0, 0, 255));
  SelectObject(dc, old);
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(bitmap), static_cast<HGDIOBJ>(target), static_cast<HGDIOBJ>(key),
                         static_cast<HGDIOBJ>(blue), static_cast<HGDIOBJ>(white)})
    DeleteObject(object);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}
