#include "skin/data/ResourceStrData.h"

#include "host/components/Properties.h"

namespace qz {

namespace {

// Looks a name up in "NAME=text" lines: first match, case-insensitive name.
template <class Lines, class Get>
std::string FindResourceLine(const Lines& lines, int count, Get get, std::string_view name) {
  for (int i = 0; i < count; ++i) {
    const std::string& line = get(lines, i);
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (SameText(std::string_view(line).substr(0, eq), name)) return line.substr(eq + 1);
  }
  return {};
}

}  // namespace

const std::vector<std::string>& DefaultResourceStrings() {
  static const std::vector<std::string> lines = {
      // Texts used by the skinned windows and dialogs.
      "MI_MINCAPTION=Mi&nimize", "MI_MAXCAPTION=Ma&ximize", "MI_CLOSECAPTION=&Close",
      "MI_RESTORECAPTION=&Restore", "MI_MINTOTRAYCAPTION=Minimize to &Tray",
      "MI_ROLLUPCAPTION=Ro&llUp", "MINBUTTON_HINT=Minimize", "MAXBUTTON_HINT=Maximize",
      "CLOSEBUTTON_HINT=Close", "TRAYBUTTON_HINT=Minimize to Tray", "ROLLUPBUTTON_HINT=Roll Up",
      "MENUBUTTON_HINT=System menu", "RESTORE_HINT=Restore", "EDIT_UNDO=Undo", "EDIT_COPY=Copy",
      "EDIT_CUT=Cut", "EDIT_PASTE=Paste", "EDIT_DELETE=Delete", "EDIT_SELECTALL=Select All",
      "MSG_BTN_YES=&Yes", "MSG_BTN_NO=&No", "MSG_BTN_OK=OK", "MSG_BTN_CANCEL=Cancel",
      "MSG_BTN_ABORT=&Abort", "MSG_BTN_RETRY=&Retry", "MSG_BTN_IGNORE=&Ignore",
      "MSG_BTN_ALL=&All", "MSG_BTN_NOTOALL=N&oToAll", "MSG_BTN_YESTOALL=&YesToAll",
      "MSG_BTN_HELP=&Help", "MSG_BTN_OPEN=&Open", "MSG_BTN_SAVE=&Save", "MSG_BTN_CLOSE=Close",
      "MSG_BTN_BACK_HINT=Go To Last Folder Visited", "MSG_BTN_UP_HINT=Up One Level",
      "MSG_BTN_NEWFOLDER_HINT=Create New Folder", "MSG_BTN_VIEWMENU_HINT=View Menu",
      "MSG_BTN_STRETCH_HINT=Fit Picture", "MSG_FILENAME=File name:", "MSG_FILETYPE=File type:",
      "MSG_NEWFOLDER=New Folder", "MSG_LV_DETAILS=Details", "MSG_LV_ICON=Large icons",
      "MSG_LV_SMALLICON=Small icons", "MSG_LV_LIST=List", "MSG_LV_THUMBNAILS=Thumbnails",
      "MSG_LV_BIGTHUMBNAILS=Big Thumbnails", "MSG_LV_VERYBIGTHUMBNAILS=Very Big Thumbnails",
      "MSG_PREVIEWSKIN=Preview", "MSG_PREVIEWBUTTON=Button",
      "MSG_OVERWRITE=Do you want to overwrite old file?", "MSG_CAP_WARNING=Warning",
      "MSG_CAP_ERROR=Error", "MSG_CAP_INFORMATION=Information", "MSG_CAP_CONFIRM=Confirm",
      "MSG_CAP_SHOWFLAG=Do not display this message again", "ERROR=Error",
      "NODISKINDRIVE=There is no disk in Drive or Drive is not ready",
      "NOVALIDDRIVEID=Not a valid Drive ID", "FLV_NAME=Name", "FLV_SIZE=Size", "FLV_TYPE=Type",
      "FLV_LOOKIN=Folder: ", "FLV_MODIFIED=Modified", "FLV_ATTRIBUTES=Attributes",
      "FLV_DISKSIZE=Disk Size", "FLV_FREESPACE=Free Space",
      // Labels of further dialogs (calculator, colours, fonts, printing, find
      // and replace, database navigation).
      "CALC_CAP=Calculator", "COLORGRID_CAP=Basic colors", "CUSTOMCOLORGRID_CAP=Custom colors",
      "ADDCUSTOMCOLORBUTTON_CAP=Add to Custom Colors", "FONTDLG_COLOR=Color:",
      "FONTDLG_NAME=Name:", "FONTDLG_SIZE=Size:", "FONTDLG_HEIGHT=Height:",
      "FONTDLG_EXAMPLE=Example:", "FONTDLG_STYLE=Style:", "FONTDLG_SCRIPT=Script:",
      "DB_DELETE_QUESTION=Delete record?", "DB_MULTIPLEDELETE_QUESTION=Delete all selected records?",
      "PRNDLG_NAME=Name:", "PRNDLG_PRINTER=Printer", "PRNDLG_PROPERTIES=Properties...",
      "PRNDLG_TYPE=Type:", "PRNDLG_STATUS=Status:", "PRNDLG_WHERE=Where:",
      "PRNDLG_COMMENT=Comment:", "PRNDLG_PRINTRANGE=Print range", "PRNDLG_COPIES=Copies",
      "PRNDLG_NUMCOPIES=Number of copies:", "PRNDLG_COLLATE=Collate", "PRNDLG_ALL=All",
      "PRNDLG_PAGES=Pages", "PRNDLG_SELECTION=Selection", "PRNDLG_PRINTTOFILE=Print to file",
      "PRNDLG_FROM=from:", "PRNDLG_TO=to:", "PRNDLG_ORIENTATION=Orientation",
      "PRNDLG_PAPER=Paper", "PRNDLG_PORTRAIT=Portrait", "PRNDLG_LANDSCAPE=Landscape",
      "PRNDLG_SOURCE=Source:", "PRNDLG_SIZE=Size:", "PRNDLG_MARGINS=Margins (millimeters)",
      "PRNDLG_MARGINS_INCHES=Margins (inches)", "PRNDLG_LEFT=Left:", "PRNDLG_RIGHT=Right:",
      "PRNDLG_TOP=Top:", "PRNDLG_BOTTOM=Bottom:",
      "PRNDLG_WARNING=There are no printers in your system!", "FIND_NEXT=Find Next",
      "FIND_WHAT=Find what:", "FIND_DIRECTION=Direction", "FIND_DIRECTIONUP=Up",
      "FIND_DIRECTIONDOWN=Down", "FIND_MATCH_CASE=Match case",
      "FIND_MATCH_WHOLE_WORD_ONLY=Match whole word only", "FIND_REPLACE_WITH=Replace with:",
      "FIND_REPLACE=Replace", "FIND_REPLACE_All=Replace All", "FIND_REPLACE_CLOSE=Close",
      "MORECOLORS=More colors...", "AUTOCOLOR=Automatic", "CUSTOMCOLOR=Custom...",
      "DBNAV_FIRST=First record", "DBNAV_PRIOR=Prior record", "DBNAV_NEXT=Next record",
      "DBNAV_LAST=Last record", "DBNAV_INSERT=Insert record", "DBNAV_DELETE=Delete record",
      "DBNAV_EDIT=Edit record", "DBNAV_POST=Post edit", "DBNAV_CANCEL=Cancel edit",
      "DBNAV_REFRESH=Refresh data",
  };
  return lines;
}

std::string DefaultResourceStr(std::string_view name) {
  const auto& lines = DefaultResourceStrings();
  return FindResourceLine(lines, static_cast<int>(lines.size()),
                          [](const std::vector<std::string>& l, int i) -> const std::string& {
                            return l[static_cast<size_t>(i)];
                          },
                          name);
}

TqzResourceStrData::TqzResourceStrData(TComponent* AOwner) : TComponent(AOwner) {
  resStrings_.BeginUpdate();
  for (const auto& line : DefaultResourceStrings()) resStrings_.Add(line);
  resStrings_.EndUpdate();
}

std::string TqzResourceStrData::GetResourceStr(std::string_view name) const {
  for (int i = 0; i < resStrings_.Count(); ++i) {
    std::string line = resStrings_.Get(i);
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (SameText(std::string_view(line).substr(0, eq), name)) return line.substr(eq + 1);
  }
  return {};
}

QZ_PUBLISHED(TqzResourceStrData, TComponent) {
  b.Factory([](TComponent* owner) { return new TqzResourceStrData(owner); });
  b.Strings("ResStrings", [](TqzResourceStrData& d) -> TStrings& { return d.ResStrings(); });
  b.Prop("CharSet", &TqzResourceStrData::CharSet, &TqzResourceStrData::SetCharSet, 1);
}

}  // namespace qz
