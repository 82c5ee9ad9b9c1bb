// Placeholder until the extractor lands; nothing calls it yet.
