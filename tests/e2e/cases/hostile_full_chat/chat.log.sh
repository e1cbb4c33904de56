# 30001 chat lines, one more than the chat buffer once held: all are in the transcript.
yes '[10:00:00] @@[Guilde] Gorm : "salut"' | head -n 30000
printf '[10:00:01] @@[Groupe] Tuk : "de trop"\n'
