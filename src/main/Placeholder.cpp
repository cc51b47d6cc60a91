// Placeholder: replaced by the main window.
