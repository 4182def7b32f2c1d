#!/usr/bin/env bash
# Fails when a file of a Qt-free layer includes a Qt header.
cd "$1" || exit 2
found=$(grep -r -l -E '#include\s*<Q' src/base src/imaging src/pictureio src/project src/document src/colour/ColourNames.* \
  src/cli/*.h src/cli/*.cpp 2>/dev/null)
if [ -n "$found" ]; then
  echo "Qt headers in Qt-free layers:"
  echo "$found"
  exit 1
fi
echo "Qt-free layers are clean"
