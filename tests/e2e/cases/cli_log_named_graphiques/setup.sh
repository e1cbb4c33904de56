mv chat.log Graphiques.HTML
