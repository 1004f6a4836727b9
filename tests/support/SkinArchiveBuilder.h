#pragma once
// Builds skin archives byte by byte for tests, with zlib's raw deflate and
// the traditional ZIP encryption, so that every field can be set or spoiled.
#include <cstdint>
#include <string>

struct SkinArchiveSpec {
  std::string entryName = "SKINDATA.SK2";
  std::string content;        // the uncompressed entry
  std::string password;       // empty: not encrypted
  bool dataDescriptorFlag = false; // flag bit 3: the check byte is the time's high byte
  int level = 9;              // zlib level; 0 gives stored blocks
  std::string magic = "SK";
  std::string comment;        // the archive comment (must be empty to load)
  std::int64_t declaredSize = -1; // the directory's uncompressed size; -1: the true size
  std::string rawData;        // when set, used as the entry data as it is
  // What common zip tools add: extra fields (time stamps, owners) in the
  // local header and the directory, an entry comment, and other entries
  // stored before the skin data.
  std::string localExtra;
  std::string directoryExtra;
  std::string entryComment;
  std::string leadingEntryName; // when set, an entry of this name comes first
  std::string leadingEntryContent;
};

std::string BuildSkinArchive(const SkinArchiveSpec& spec);
// Raw deflate (no zlib header) of data.
std::string RawDeflate(const std::string& data, int level, int strategy = 0);
