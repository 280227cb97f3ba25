// The other front end's header.
