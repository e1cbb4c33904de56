mv chat.log resultats.html
