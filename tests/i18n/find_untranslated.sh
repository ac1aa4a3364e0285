#!/bin/sh
# Lists texts handed to the window's widgets in ui/ and app/ that bypass tr():
# on each line that shows a text, literals with a letter left after removing
# the translated ones. Usage: find_untranslated.sh SOURCE_DIR
shows='(setText|setToolTip|setStatusTip|setWindowTitle|setTitle|setAccessible(Name|Description)|setPlaceholderText'
shows="$shows|addAction|addItem|addMenu|addButton|showMessage|QMessageBox::[a-z]+|get[A-Za-z]*(File|Directory)[A-Za-z]*"
shows="$shows|QFileDialog|QToolBar|QMenu|QAction|QLabel|QPushButton|DataRow::(text|heading)|addInfo(Text|Column)|VXSegmentedControl)\("
cd "$1"
if grep -rnE "$shows" ui app --include='*.cpp' \
   | sed -E 's/\b(tr|QT_TR_NOOP|translate\("[^"]*",) *\(? *"([^"\\]|\\.)*"//g' \
   | grep -E '"[^"]*[A-Za-z][^"]*"'; then
  echo "FAIL: the texts above are shown without tr()"
  exit 1
fi
