mv chat.log "mon journal.log"
