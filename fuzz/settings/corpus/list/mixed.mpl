/a.mid

/b.mid/c.mid