# 30001 chat lines: the last one does not fit in the chat buffer.
yes '[10:00:00] @@[Guilde] Gorm : "salut"' | head -n 30000
printf '[10:00:01] @@[Groupe] Tuk : "de trop"\n'
