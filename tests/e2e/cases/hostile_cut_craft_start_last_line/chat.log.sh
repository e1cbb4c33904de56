# The last line has no line break and no "." after the item name.
printf '[10:00:00] Vous avez r\xe9ussi votre confection. Vous avez d\xe9sormais 99%% de qualit\xe9.\r\n'
printf '[10:00:05] Vous commencez le travail sur arc long'
