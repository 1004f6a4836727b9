#pragma once
// Tree builders, the search for a node by id, and the shell helpers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/TreeNodes.h"
#include "platform/Shell.h"
#include "store/Compression.h"

class TFileList;
class TPubList;

TTreeNode* FindTreeNode(std::int32_t id, const TTreeModel& tree);
void FillFileTree(TTreeModel& tree, TFileList& fileList);
void FillTypeTree(TTreeModel& tree, TPubList& pubList);

void GetDriveList(std::vector<std::string>& list);
// The small shell icon of an existing file; none for a folder or nothing.
std::unique_ptr<platform::TIcon> GetFileIcon(const std::string& path);
// Sends a file or folder to the recycle bin. Empty when it went (or is no
// longer there); otherwise why not, as a phrase ("the deletion was cancelled").
std::string DeleteToRecycleBin(const std::string& path);
bool ShellCopyMove(const std::string& source, const std::string& target, bool move);
