#!/usr/bin/env bash
# A fixed sample of deliberate faults in src/, one at a time: does the test suite notice?
# Each fault is applied, the build dir rebuilt (incrementally), ctest run; "caught" when the
# build or any test fails, "missed" when everything still passes. The file is always restored.
#
# Usage: scripts/mutation-sample.sh [BUILD_DIR]    (default: build-coverage, shared with coverage.sh)
#        scripts/mutation-sample.sh --check [BUILD_DIR]   only checks that every pattern still matches
# Environment: JOBS (default 2), TEST_TIMEOUT seconds per test (default 120), ONLY="id id ..." to
# run a subset.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
check_only=0
if [ "${1:-}" = "--check" ]; then
  check_only=1
  shift
fi
build="${1:-build-coverage}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
jobs="${JOBS:-2}"
timeout="${TEST_TIMEOUT:-120}"
logs="$build/mutation-logs"

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

# --- The sample ------------------------------------------------------------------------------
# mutation ID FILE PATTERN REPLACEMENT WHAT: PATTERN must occur exactly once in FILE.
ids=() files=() froms=() tos=() whats=()
mutation() {
  ids+=("$1") files+=("$2") froms+=("$3") tos+=("$4") whats+=("$5")
}

# src/base
mutation base-rename src/base/AtomicFile.cpp \
  'if (ok && ::rename(temp.c_str(), file->c_str()) != 0) ok = false, failure = errno;' \
  'if (ok && ::rename(temp.c_str(), file->c_str()) == 0) ok = false, failure = errno;' \
  'flipped: a successful replace of the saved file is reported as a failure'
mutation base-read-only src/base/AtomicFile.cpp \
  'if ((old.st_mode & 0222) == 0 || ::access(file->c_str(), W_OK) != 0) {' \
  'if (::access(file->c_str(), W_OK) != 0) {' \
  'dropped condition: root overwrites a file nobody may write'
mutation base-permissions src/base/AtomicFile.cpp \
  '::fchmod(fd, exists ? (old.st_mode & 07777) : NewFileMode());' \
  '::fchmod(fd, NewFileMode());' \
  'dropped case: a replaced file loses its own permission bits'

# src/imaging: GIF and LZW
mutation lzw-width src/imaging/GifLzwEncoder.cpp \
  'if (strings.NextFree() > largest) [[unlikely]] {' \
  'if (strings.NextFree() >= largest) [[unlikely]] {' \
  'off by one: the LZW code width grows one code early'
mutation gif-interlace src/imaging/mGIFSave.cpp \
  '{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}}' \
  '{{{0, 8}, {4, 8}, {2, 4}, {1, 4}}}' \
  'wrong constant: the fourth interlace pass skips every other odd row'
mutation gif-table-bits src/imaging/mGIFSave.cpp \
  'while ((1 << n) < count) ++n;' \
  'while ((1 << n) <= count) ++n;' \
  'off by one: a palette of 2^n colours gets a table twice as large'
mutation gif-transparency src/imaging/mGIFSave.cpp \
  'out.push_back(0x01);  // transparent colour given' \
  'out.push_back(0x00);  // transparent colour given' \
  'wrong constant: the graphic control block no longer marks the transparent index'

# src/imaging: JPEG
mutation jpeg-quality-scale src/imaging/JpegTables.cpp \
  'if (quality >= 50) return 200 - 2 * quality;' \
  'if (quality >= 50) return 200 - quality;' \
  'wrong formula: qualities above 50 scale the quantisation tables too little'
mutation jpeg-huffman-reserved src/imaging/JpegHuffman.cpp \
  $'  while (count[static_cast<size_t>(i)] == 0) --i;\n  --count[static_cast<size_t>(i)];' \
  '  while (count[static_cast<size_t>(i)] == 0) --i;' \
  'dropped line: the optimal Huffman table keeps the reserved all-ones code'
mutation jpeg-byte-stuffing src/imaging/JpegBitWriter.cpp \
  $'    *p++ = byte;\n    if (byte == 0xFF) *p++ = 0x00;' \
  '    *p++ = byte;' \
  'dropped line: an 0xFF byte in the entropy-coded data is not followed by 0x00'
mutation jpeg-dct-sign src/imaging/JpegDct.cpp \
  'd4 = t10 - t11;' \
  'd4 = t11 - t10;' \
  'flipped sign of one DCT coefficient'
mutation jpeg-sof-height src/imaging/JpegSegments.cpp \
  'Put16(out, height);                                    // Y' \
  'Put16(out, width);                                     // Y' \
  'wrong value: the frame header gives the width as the height'

mutation png-join-final-mark src/imaging/DeflateJoin.cpp \
  'out[at + end->finalBlockBit / 8] &= static_cast<uint8_t>(~(1u << (end->finalBlockBit % 8)));' \
  'out[at + end->finalBlockBit / 8] &= static_cast<uint8_t>(~(1u << (end->finalBlockBit % 7)));' \
  'wrong bit: a large PNG'"'"'s upper part keeps its final mark, so its lower rows never decode'
mutation png-lower-rows-unprimed src/imaging/PngWriter.cpp \
  'for (size_t y = from > 0 ? from - 1 : 0; y < to; ++y) {' \
  'for (size_t y = from; y < to; ++y) {' \
  'missing step: the lower part'"'"'s first row is filtered under zeros instead of the row above it'
mutation atomic-pieces-offset src/base/AtomicFile.cpp \
  'written += static_cast<off_t>(piece.size());' \
  'written += 0;' \
  'wrong offset: a file written in pieces has every piece over the first'
mutation png-parts-adler src/imaging/PngWriter.cpp \
  'adler = libdeflate_adler32(adler, filtered.get(), bytes);' \
  'adler = libdeflate_adler32(adler, filtered.get(), bytes - 1);' \
  'off by one: a very large PNG'"'"'s checksum misses the last byte of every part'
mutation jpeg-recomputed-predictor src/imaging/JpegStream.cpp \
  'm_rows->Transform(row - 1, m_out);' \
  'm_rows->Transform(row, m_out);' \
  'wrong row: a stripe of recomputed blocks starts from its own first row'"'"'s DC values instead of the row above'"'"'s'
mutation bmp-chunk-row-offset src/imaging/raster/BmpFile.cpp \
  'const size_t at = (row - first) * stride;' \
  'const size_t at = (row - first) * stride + (row > first ? stride : 0);' \
  'wrong index: a large bitmap file'"'"'s rows after a chunk'"'"'s first are read one row too far on'
mutation composite-put-back-order src/compose/CompositeOnTemplate.cpp \
  'for (auto kept = m_kept.rbegin(); kept != m_kept.rend(); ++kept) {' \
  'for (auto kept = m_kept.begin(); kept != m_kept.end(); ++kept) {' \
  'wrong order: after an export, overlapping items'"'"' areas put back first first leave text on the template'
mutation picture-band-rows src/compose/ImageConversion.cpp \
  'image.copy(0, y, image.width(), rows)' \
  'image.copy(0, 0, image.width(), rows)' \
  'wrong index: a large picture in another format gets its first band of rows over and over'
mutation outline-faces-settled src/compose/TextPainter.cpp \
  'if (target == PaintTarget::File && layout.bent.empty()) SettleFaces(layout);' \
  'if (target == PaintTarget::Screen && layout.bent.empty()) SettleFaces(layout);' \
  'missing step: an outlined item'"'"'s pixels in a file change with what the same font drew before (batch rows, --jobs)'
mutation dialog-places-fit src/controls/ModalSeam.cpp \
  'if (before >= wanted) return;' \
  'return;' \
  'missing step: the file dialog'"'"'s places list keeps cutting the home folder'"'"'s name'

# src/imaging: palette, dither, BMP, fitting
mutation palette-leaves src/imaging/cPal8bpp.cpp \
  'while (m_leaves > maxLeaves)' \
  'while (m_leaves >= maxLeaves)' \
  'off by one: the optimal palette is reduced to one colour fewer than asked'
mutation dither-threshold src/imaging/mDither8bpp_Diffuse.cpp \
  'std::abs(eB) + std::abs(eG) + std::abs(eR) > 3);' \
  'std::abs(eB) + std::abs(eG) + std::abs(eR) > 4);' \
  'wrong constant: an error of 4 is no longer spread to the neighbours'
mutation bmp-row-order src/imaging/raster/BmpFile.cpp \
  'bitmap.rowOrder() == RowOrder::BottomUp ? bitmap.height() : -bitmap.height();' \
  'bitmap.rowOrder() != RowOrder::BottomUp ? bitmap.height() : -bitmap.height();' \
  'flipped: written bitmaps say top-down for bottom-up rows and the reverse'
mutation bmp-rle-padding src/imaging/raster/BmpFile.cpp \
  'at += (bytes + 1) & ~size_t{1};' \
  'at += bytes;' \
  'dropped padding: an odd run of literal RLE pixels is not padded to 16 bits'
mutation dib-best-fit src/imaging/cDIB.cpp \
  'if (xr < yr) {' \
  'if (xr > yr) {' \
  'flipped: the best fit follows the wrong side and overflows the box'

# src/project
mutation reader-alignment src/project/ProjectFileReader.cpp \
  'if (v == 1) return TextAlignment::Right;' \
  'if (v == 1) return TextAlignment::Centre;' \
  'wrong value: right-aligned items are read as centred'
mutation reader-line-breaks src/project/ProjectFileReader.cpp \
  'item.Caption = replaceAll(value, "[/nl]", "\r\n");' \
  'item.Caption = std::string(value);' \
  'dropped decoding: "[/nl]" in a caption stays as text instead of a line break'
mutation writer-crlf src/document/TextItem.cpp \
  "      if (c == '\\r' && i + 1 < text.size() && text[i + 1] == '\\n') ++i;" \
  '' \
  'dropped line: a CRLF in a caption is written as two line breaks'
mutation writer-trailing-zeros src/project/ProjectFileWriter.cpp \
  "  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();" \
  '' \
  'dropped line: numbers are written with trailing zeros ("12.00000")'
mutation template-parent src/project/TemplatePath.cpp \
  'std::find(parts.begin(), parts.end(), "..") != parts.end()' \
  'std::find(parts.begin(), parts.end(), "...") != parts.end()' \
  'wrong constant: a template path with ".." may leave the library'

# src/app/document
mutation document-reuse-index src/document/Document.cpp \
  '  m_lowestFree = std::min(m_lowestFree, m_currentIndex);' \
  '' \
  'dropped line: the index of a deleted item is not used again'
mutation shadow-offset src/document/TextItem.cpp \
  'if (fontSize < 17) return 1;' \
  'if (fontSize <= 17) return 1;' \
  'off by one: a 17 pt item gets the 1-pixel shadow offset'

# src/compose
mutation centre-outline src/compose/CentrePicture.cpp \
  'picture.width + 2, picture.height + 2};' \
  'picture.width + 1, picture.height + 2};' \
  'off by one: the outline around the picture is a pixel too narrow'
mutation text-right-align src/compose/TextLayout.cpp \
  'case TextAlignment::Right: return boxWidth - lineWidth;' \
  'case TextAlignment::Right: return 0;' \
  'wrong value: right-aligned lines are painted left-aligned'
mutation text-shadow src/compose/TextPainter.cpp \
  'if (item.Shadow) PaintShadow(painter, layout, item, target);' \
  'if (!item.Shadow) PaintShadow(painter, layout, item, target);' \
  'flipped: the shadow is painted for items without one and not for items with one'
mutation fit-wrap src/compose/TextLayout.cpp \
  'if (boxWidth > 0) WrapLine(line, metrics, boxWidth, layout.lines);' \
  'if (boxWidth < 0) WrapLine(line, metrics, boxWidth, layout.lines);' \
  'flipped: a caption in a box never wraps'
mutation fit-largest src/compose/TextLayout.cpp \
  'if (trial.fits) low = middle, best = std::move(trial);' \
  'if (trial.fits) low = middle;' \
  'dropped assignment: fitted text is drawn at the smallest size instead of the largest that fits'
mutation arc-direction src/compose/TextLayout.cpp \
  'const double up = angle > 0 ? 1 : -1;' \
  'const double up = angle < 0 ? 1 : -1;' \
  'flipped: a positive arc bends down'
mutation route-bmp src/pictureio/ExportRoutes.cpp \
  'if (last == ".BMP") return ExportRoute::Bitmap;' \
  'if (last == ".bmp") return ExportRoute::Bitmap;' \
  'wrong constant: a .bmp name is exported as JPEG'
mutation build-hidden src/compose/BuildImage.cpp \
  'if (item.Visible) PaintTextItem(painter, item);' \
  'PaintTextItem(painter, item);' \
  'dropped condition: hidden items are painted into the exported picture'

# src/imaging: raster components
mutation image-quarter-turn src/imaging/cImage.cpp \
  'const raster::Point corners[3] = {{0, w}, {0, 0}, {h, w}};' \
  'const raster::Point corners[3] = {{0, w}, {0, 0}, {h, 0}};' \
  'wrong constant: a quarter turn shears the picture'
mutation hatch-cross src/imaging/raster/Brush.cpp \
  '{0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // HS_CROSS' \
  '{0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x00},  // HS_CROSS' \
  'wrong constant: the cross hatch has a gap'
mutation combo-swatch src/controls/cDeluxeComboBox.cpp \
  'const int width = kMenuButtonWidth * (m_sType <= kIcons && m_cSqStyle == 1 ? 2 : 1);' \
  'const int width = kMenuButtonWidth * (m_sType <= kIcons && m_cSqStyle == 1 ? 1 : 2);' \
  'flipped: the wide swatch column is used for the narrow style'

# src/controls
mutation flat-release-outside src/controls/vbkFlat.cpp \
  '  if (!rect().contains(event->position().toPoint())) {' \
  '  if (rect().contains(event->position().toPoint())) {' \
  'flipped: a flat button clicks when released outside it and not inside'
mutation flat-disabled-focus src/controls/vbkFlat.cpp \
  'setFocusPolicy(disabled ? Qt::NoFocus : Qt::StrongFocus);' \
  'setFocusPolicy(Qt::StrongFocus);' \
  'dropped condition: a disabled flat button still takes the keyboard focus'

# src/colour
mutation colour-hex-sign src/colour/ColourNames.cpp \
  'if (value <= 0xFFFF) return static_cast<int16_t>' \
  'if (value < 0xFFFF) return static_cast<int16_t>' \
  'off by one: "&HFFFF" reads as 65535 instead of -1'
mutation picker-levels src/colour/frmColorPicker.cpp \
  'constexpr int kLevels[] = {0, 51, 102, 153, 204, 255};' \
  'constexpr int kLevels[] = {0, 51, 102, 153, 204, 250};' \
  'wrong constant: the colour boxes lack full-intensity colours'

# src/library
mutation canvas-pan-clamp src/library/ucCanvas.cpp \
  'std::clamp<int64_t>(int64_t{m_lastX} - at.x() + m_scrollX, 0, m_maxScrollX)' \
  'std::clamp<int64_t>(int64_t{m_lastX} - at.x() + m_scrollX, 0, m_maxScrollX + 1)' \
  'off by one: a drag pans one pixel past the picture''s right edge'
mutation thumb-centre src/library/ThumbnailFit.cpp \
  'p.left = maxWidth / 2.0 - p.width / 2.0;' \
  'p.left = maxWidth / 2.0 - p.height / 2.0;' \
  'wrong value: thumbnails are centred by their height across'
mutation clipart-down src/library/frmChooseClipart_Grid.cpp \
  'if (m_selectedIndex >= last - 4) return;' \
  'if (m_selectedIndex > last - 4) return;' \
  'off by one: Down from the last row moves past the last picture'
mutation scrolling-centre src/library/ScrollingImage.cpp \
  'return need ? 0 : (viewExtent - pictureExtent) / 2;' \
  'return 0;' \
  'wrong value: a picture smaller than the preview is not centred'

# src/symbols
mutation charmap-up src/symbols/frmCharacterMap_Grid.cpp \
  '(sel > 15 ? sel - 15 : 0)' \
  '(sel > 15 ? sel - 16 : 0)' \
  'wrong constant: Up in the character map moves one cell too far'
mutation symbol-fonts src/symbols/mdlFonts.cpp \
  'name == QLatin1String("wingdings 2")' \
  'name == QLatin1String("wingdings2")' \
  'wrong constant: Wingdings 2 is not taken for a symbol font'

# src/app (the editor)
mutation undo-redo-cleared src/app/UndoHistory.cpp \
  $'void UndoHistory::Remember(const Document& before, int mergeKey) {\n  m_redo.clear();' \
  'void UndoHistory::Remember(const Document& before, int mergeKey) {' \
  'dropped line: a new edit keeps the redo steps of the old future'
mutation insert-symbol-font src/app/frmMain_Edit.cpp \
  '  if (IsSymbolFont(fontName)) {' \
  '  if (!IsSymbolFont(fontName)) {' \
  'flipped: new text takes the last text font exactly when a text font is chosen'
mutation drag-offset src/app/frmMain_Selection.cpp \
  'm_dragOffset = QPointF(PixelsToTwips(pos.x()) - item.Left, PixelsToTwips(pos.y()) - item.Top);' \
  'm_dragOffset = QPointF(0, PixelsToTwips(pos.y()) - item.Top);' \
  'wrong value: a dragged item jumps so its left edge is under the pointer'

# src/cli
mutation cli-slash-in-name src/cli/projects/OutputPattern.cpp \
  "if (c == '/' || c == '\\\\' ||" \
  "if (c == '\\\\' ||" \
  'dropped condition: a "/" in a CSV value leads the output out of its folder'
mutation cli-row-number src/cli/projects/BatchRender.cpp \
  'batch.names.push_back(pattern.Expand(r + 1, table.Rows()[r]));' \
  'batch.names.push_back(pattern.Expand(r, table.Rows()[r]));' \
  'off by one: {row} counts the CSV rows from 0'
mutation cli-boolean-field src/cli/projects/CliProject.cpp \
  'if (IsBooleanField(field) && value != "True" && value != "False")' \
  'if (IsBooleanField(field) && value != "True" && value != "false")' \
  'wrong constant: a boolean field refuses "False"'
mutation cli-fit-warning src/cli/projects/CliProject.cpp \
  'if (item.Visible && item.FitToBox && !LayOutText(item).fits)' \
  'if (item.Visible && item.FitToBox && LayOutText(item).fits)' \
  'flipped: the rows whose text fits are the ones warned about'
mutation csv-doubled-quote src/cli/projects/CsvTable.cpp \
  $'        field += \'"\';\n        ++i;' \
  $'        field += \'"\';' \
  'dropped line: a doubled quote inside a quoted CSV field ends the quotes'

# --- Machinery -------------------------------------------------------------------------------
# Prints the number of times FROM occurs in FILE; with APPLY=1 also replaces the single one.
substitute() {
  MUT_FROM="$2" MUT_TO="$3" APPLY="${4:-0}" python3 - "$1" <<'PY'
import os, sys
path = sys.argv[1]
try:
    text = open(path, encoding="utf-8").read()
except OSError:
    print(-1)
    sys.exit(0)
src, dst = os.environ["MUT_FROM"], os.environ["MUT_TO"]
n = text.count(src)
if n == 1 and os.environ["APPLY"] == "1":
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(src, dst, 1))
print(n)
PY
}

selected() {
  [ -z "${ONLY:-}" ] && return 0
  case " $ONLY " in *" $1 "*) return 0 ;; esac
  return 1
}

if [ "$check_only" -eq 1 ]; then
  bad=0
  for i in "${!ids[@]}"; do
    n=$(substitute "$root/${files[$i]}" "${froms[$i]}" "${tos[$i]}")
    [ "$n" = 1 ] && state=ok || { state="stale (matches: $n)"; bad=$((bad + 1)); }
    printf '%-24s %-44s %s\n' "${ids[$i]}" "${files[$i]}" "$state"
  done
  echo "${#ids[@]} mutations, $bad stale"
  exit 0
fi

saved=""   # the original text of the file under mutation, while one is applied
target=""
restore() {
  if [ -n "$target" ] && [ -n "$saved" ] && [ -f "$saved" ]; then
    cat "$saved" > "$target"   # a fresh time stamp, so the next build recompiles it
    rm -f "$saved"
  fi
  target="" saved=""
}
on_exit() {
  restore
  [ -n "${gcov_dir:-}" ] && rm -rf "$gcov_dir"
}
trap on_exit EXIT
trap 'echo; echo "interrupted: restoring ${target:-nothing} (the next run rebuilds)"; exit 130' INT TERM

build_tree() { cmake --build "$build" -j "$jobs" > "$1" 2>&1; }

# Runs ctest into LOG; returns its status. Coverage counters of these runs go to a scratch
# folder: the build's own counters stay those of the last coverage run.
run_tests() {
  gcov_dir="$(mktemp -d)"
  (cd "$build" && GCOV_PREFIX="$gcov_dir" GCOV_PREFIX_STRIP=0 \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest -j "$jobs" --timeout "$timeout" --stop-on-failure --output-on-failure) > "$1" 2>&1
  local status=$?
  rm -rf "$gcov_dir"
  gcov_dir=""
  return $status
}

# The first entry of ctest's list of failed tests, without gtest's parameter bytes.
first_failure() {
  local line
  line="$(awk '/The following tests FAILED:/ { getline; sub(/^[ \t]+/, ""); print; exit }' "$1" |
    sed -E 's@/?[0-9]+-byte object <[^>]*>?@@')"
  if [ -n "$line" ]; then echo "${line:0:100}"; else echo "tests fail"; fi
}

mkdir -p "$logs"
start=$SECONDS
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DLUMORA_COVERAGE=ON -DLUMORA_BENCH=OFF -DLUMORA_FUZZ=OFF > /dev/null || exit 1
fi

# The unmutated suite must pass, or every fault would look caught.
if ! build_tree "$logs/baseline-build.log"; then
  echo "baseline: the build fails (see $logs/baseline-build.log)"
  exit 1
fi
if ! run_tests "$logs/baseline-test.log"; then
  echo "baseline: tests fail without any mutation (see $logs/baseline-test.log)"
  exit 1
fi
echo "baseline: build and tests pass ($((SECONDS - start))s)"

caught=0 missed=0 stale=0 total=0
missed_ids=() stale_ids=()
for i in "${!ids[@]}"; do
  id="${ids[$i]}" file="$root/${files[$i]}"
  selected "$id" || continue
  total=$((total + 1))
  t0=$SECONDS
  n=$(substitute "$file" "${froms[$i]}" "${tos[$i]}")
  if [ "$n" != 1 ]; then
    stale=$((stale + 1))
    stale_ids+=("$id")
    printf '%-24s %-7s %4ss  %s (pattern matches %s times in %s)\n' "$id" stale 0 "${whats[$i]}" "$n" "${files[$i]}"
    continue
  fi
  saved="$(mktemp)"
  cp "$file" "$saved"
  target="$file"
  substitute "$file" "${froms[$i]}" "${tos[$i]}" 1 > /dev/null
  if ! build_tree "$logs/$id-build.log"; then
    result=caught how="build fails"
  elif ! run_tests "$logs/$id-test.log"; then
    result=caught
    how="$(first_failure "$logs/$id-test.log")"
  else
    result=missed how="all tests pass"
  fi
  restore
  if [ "$result" = caught ]; then caught=$((caught + 1)); else missed=$((missed + 1)); missed_ids+=("$id"); fi
  printf '%-24s %-7s %4ss  %s [%s]\n' "$id" "$result" "$((SECONDS - t0))" "${whats[$i]}" "$how"
done

# Leave the build as the sources are.
build_tree "$logs/final-build.log" || echo "warning: the final rebuild of the restored sources failed"

counted=$((total - stale))
echo
echo "caught $caught of $counted (missed $missed${missed_ids[*]:+: ${missed_ids[*]}}; stale $stale${stale_ids[*]:+: ${stale_ids[*]}})"
echo "time: $((SECONDS - start))s; logs in $logs"
