# Installation and packages: filled in with the Linux desktop.
