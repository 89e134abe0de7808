/music/a.mid
/music/b.wav
