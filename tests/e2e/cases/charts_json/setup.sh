mv chat.log "journal d'été.log"
