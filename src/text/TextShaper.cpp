#include "text/TextShaper.h"

#include <hb.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace qz {

namespace {

// The scripts whose letters a word draws joined: cursive scripts, and those whose
// letters hang from one headline.
constexpr hb_script_t JoinedScripts[] = {
    HB_SCRIPT_ARABIC,  HB_SCRIPT_SYRIAC,     HB_SCRIPT_NKO,    HB_SCRIPT_MONGOLIAN,       HB_SCRIPT_MANDAIC,
    HB_SCRIPT_ADLAM,   HB_SCRIPT_PHAGS_PA,   HB_SCRIPT_SOGDIAN, HB_SCRIPT_HANIFI_ROHINGYA, HB_SCRIPT_DEVANAGARI,
    HB_SCRIPT_BENGALI, HB_SCRIPT_GURMUKHI,
};

// HarfBuzz faces by file and index, opened once and kept for the process.
class THbFaces {
 public:
  static THbFaces& Instance() {
    static THbFaces faces;
    return faces;
  }
  std::mutex Lock;

  hb_face_t* Face(const std::string& file, int index) {
    auto key = std::make_pair(file, index);
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    hb_blob_t* blob = hb_blob_create_from_file(file.c_str());  // the empty blob when unreadable
    hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(std::max(index, 0)));
    hb_blob_destroy(blob);
    faces_.emplace(key, face);
    return face;
  }

 private:
  THbFaces() = default;
  ~THbFaces() {
    for (auto& [key, face] : faces_) hb_face_destroy(face);
  }
  std::map<std::pair<std::string, int>, hb_face_t*> faces_;
};

}  // namespace

TShapedRun ShapeText(const std::string& file, int index, int32_t em, std::u32string_view text, size_t start,
                     size_t length, bool rightToLeft) {
  TShapedRun run;
  if (start > text.size() || length > text.size() - start || length == 0) return run;
  const std::vector<uint32_t> codes(text.begin(), text.end());

  THbFaces& faces = THbFaces::Instance();
  std::lock_guard<std::mutex> hold(faces.Lock);
  hb_font_t* font = hb_font_create(faces.Face(file, index));
  // Positions in 1/64 pixel at an em of em pixels.
  hb_font_set_scale(font, em * 64, em * 64);
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf32(buffer, codes.data(), static_cast<int>(codes.size()), static_cast<unsigned>(start),
                      static_cast<int>(length));
  hb_buffer_set_direction(buffer, rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
  // The language stays undetermined instead of following the environment's locale, so
  // the designer and the command-line tool shape a work alike everywhere.
  hb_buffer_set_language(buffer, hb_language_from_string("und", -1));
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(font, buffer, nullptr, 0);

  hb_segment_properties_t props;
  hb_buffer_get_segment_properties(buffer, &props);
  run.Joined = std::find(std::begin(JoinedScripts), std::end(JoinedScripts), props.script) != std::end(JoinedScripts);
  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
  run.Glyphs.reserve(count);
  for (unsigned i = 0; i < count; ++i)
    run.Glyphs.push_back({info[i].codepoint, info[i].cluster, pos[i].x_advance, pos[i].x_offset, pos[i].y_offset});
  hb_buffer_destroy(buffer);
  hb_font_destroy(font);
  return run;
}

}  // namespace qz
