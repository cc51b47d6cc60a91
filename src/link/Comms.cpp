// Placeholder: replaced by the link.
