mkdir "Journaux d'été"
mv chat.log "Journaux d'été/Soirée du 3 mai.log"
