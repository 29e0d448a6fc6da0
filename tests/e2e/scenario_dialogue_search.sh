#!/usr/bin/env bash
# Searching from the keyword box: ENTER lists the matching items sorted in
# the item box, ESC there returns to an empty keyword box, and ENTER with Alt
# held counts as ENTER; a pattern that matches nothing is reported in a
# message box and the status panel and stays in the box; ESC on typed text
# gives the hint, a second ESC hides the window. The information panel shows
# the machine's figures.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'WordPad' 'Microsoft Word' 'Password Safe' 'Notepad'
wh_install 'C:\wh' "$(main_ini)"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 4
seen=$(driver main)
expect_match "process count" '^[1-9][0-9]*$' "$(dval process_count.text <<<"$seen")"
expect_match "page file" '^[0-9]{1,3}(,[0-9]{3})* MB in use \| [0-9]{1,3}(,[0-9]{3})* MB available$' \
  "$(dval page_file.text <<<"$seen")"
expect_match "memory load" '^[0-9]+%$' "$(dval memory_gauge.text <<<"$seen")"

focus_main
wait_until 10 driver_is focus keyword_box main
type_keyword word
press Return
wait_until 20 driver_is item_box.visible 1 main
seen=$(driver main --items)
expect_eq "keyword box hidden" 0 "$(dval keyword_box.visible <<<"$seen")"
expect_eq "found" 3 "$(dval item_box.count <<<"$seen")"
expect_eq "sorted" "Microsoft Word|Password Safe|WordPad" \
  "$(dval item_box.item.0 <<<"$seen")|$(dval item_box.item.1 <<<"$seen")|$(dval item_box.item.2 <<<"$seen")"
expect_eq "first selected" 0 "$(dval item_box.selection <<<"$seen")"
expect_eq "list open" 1 "$(dval item_box.dropped <<<"$seen")"
expect_eq "focus" item_box "$(dval focus <<<"$seen")"

press Escape
wait_until 20 driver_is keyword_box.visible 1 main
seen=$(driver main)
expect_eq "item box hidden" 0 "$(dval item_box.visible <<<"$seen")"
expect_eq "keyword box emptied" "" "$(dval keyword_box.text <<<"$seen")"
expect_eq "focus back" keyword_box "$(dval focus <<<"$seen")"
expect_eq "still shown" 1 "$(dval visible <<<"$seen")"

# A key with Alt held reaches the dialogue like any other.
type_keyword pad
press alt+Return
wait_until 20 driver_is item_box.visible 1 main
expect_eq "found with Alt+ENTER" 2 "$(driver main --items | dval item_box.count)"
press Escape
wait_until 20 driver_is keyword_box.visible 1 main

type_keyword xyz
press Return
wait_until 20 driver_is msgbox.0.text 'No items with pattern "xyz" found.' msgbox --caption Wordhopper
seen=$(driver main)
expect_eq "status panel" 'No items with pattern "xyz" found.' "$(dval status.message <<<"$seen")"
expect_eq "text kept" xyz "$(dval keyword_box.text <<<"$seen")"
expect_eq "no item mode" 0 "$(dval item_box.visible <<<"$seen")"
driver msgbox-press OK >/dev/null
wait_until 20 _no_message_box

focus_main
wait_until 10 driver_is focus keyword_box main
press Escape
wait_until 10 driver_is status.message "Type a keyword or press ESC to hide Wordhopper." main
seen=$(driver main)
expect_eq "emptied by ESC" "" "$(dval keyword_box.text <<<"$seen")"
expect_eq "shown after one ESC" 1 "$(dval visible <<<"$seen")"
press Escape
wait_until 20 driver_is visible 0 main
wh_pid_alive || fail "wordhopper.exe ended on ESC"
log "passed"
