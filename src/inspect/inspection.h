// What id3v1 and the editor know of a file before they show or change its
// tag, from one open and as few reads as the facts need: the file is read
// through a head and a tail window, the tail as large as the reader of the
// file's end reads at once, so a usual file costs the open and two reads.
#pragma once

#include "id3v2/reader.h"
#include "id3v2/to_id3v1.h"
#include "mpeginfo/audio_facts.h"
#include "tagstore/codepage_choice.h"
#include "tagstore/tag.h"
#include "tagstore/trailing.h"
#include "tools/bytesource.h"
#include "tools/codepage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace id3 {

struct InspectRequest {
  // --codepage: the code page of every tag; else the fallback where the file
  // gives no evidence of its own (ChooseCodePage).
  std::optional<CodePage> option;
  CodePage fallback;
  bool audio = false; // the audio facts too (a scan of the first frames)
};

struct Inspection {
  std::uint64_t file_size = 0;
  FileEnd end{};
  id3v2::Found id3v2{};
  // What the readable ID3v2 tag proposes for the record, where there is one.
  std::optional<id3v2::Proposal> proposal{};
  // For a file without a record: the option, else the fallback.
  CodePageChoice code_page;
  // The record read in that code page; none without an ID3v1 tag.
  std::optional<TagFields> tag{};
  // Title, artist and album whole, where a TAG+ block extends them.
  std::optional<LongTexts> long_texts{};
  AudioFacts audio{}; // filled only when asked for
};

// src read through windows (storage kept by the caller from file to file).
// ID3v2 Latin-1 frames are read in the option, else the fallback.
io::Result<Inspection> Inspect(const io::ByteSource& src, const std::string& path,
                               const InspectRequest& request, std::vector<std::uint8_t>& windows);
// The file opened once for it.
io::Result<Inspection> InspectFile(const std::string& path, const InspectRequest& request,
                                   std::vector<std::uint8_t>& windows);

// The edit that puts a proposal into a record: each field given wins, and
// the proposal fills the others.
TagEdit EditFromProposal(const id3v2::Proposal& proposal, TagEdit given);

} // namespace id3
