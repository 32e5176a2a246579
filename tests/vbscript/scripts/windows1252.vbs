' A file saved as Windows-1252.
WScript.Echo "café", Len("café"), AscW("€")
