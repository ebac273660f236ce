-- Neovim: `scenario lsp` for a scenario's two descriptions, NOME_linea.txt and NOME_NUMERO-.txt.
-- Put this file in ~/.config/nvim/plugin/ (or require it from init.lua); `scenario` must be on
-- the PATH, or set vim.g.scenario_comando to its full path.
local gruppo = vim.api.nvim_create_augroup('scenario_lsp', { clear = true })
local descrizioni = { '*_linea.txt', '*_[0-9][0-9][0-9][0-9]-.txt' }
-- Descriptions are Windows-1252 text with CR LF: read and written so, so that a name with
-- accents shows as its author wrote it. 'fileencodings' is global, so it is set for the read of
-- a description only and given back after it.
local codifiche_salvate
vim.api.nvim_create_autocmd('BufReadPre', {
  group = gruppo,
  pattern = descrizioni,
  callback = function()
    codifiche_salvate = vim.o.fileencodings
    vim.o.fileencodings = 'cp1252'
  end,
})
vim.api.nvim_create_autocmd({ 'BufReadPost', 'BufNewFile' }, {
  group = gruppo,
  pattern = descrizioni,
  callback = function()
    if codifiche_salvate then
      vim.o.fileencodings = codifiche_salvate
      codifiche_salvate = nil
    end
    vim.bo.fileencoding = 'cp1252'
    vim.bo.fileformat = 'dos'
  end,
})
vim.api.nvim_create_autocmd({ 'BufReadPost', 'BufNewFile' }, {
  group = gruppo,
  pattern = descrizioni,
  callback = function(evento)
    local configurazione = {
      name = 'scenario',
      cmd = { vim.g.scenario_comando or 'scenario', 'lsp' },
      root_dir = vim.fs and vim.fs.dirname(evento.file) or vim.fn.fnamemodify(evento.file, ':p:h'),
    }
    if vim.lsp.start then
      -- Neovim 0.8 and later: one server per folder, shared by the pair's two buffers.
      vim.lsp.start(configurazione, { bufnr = evento.buf })
    else
      -- Neovim 0.7: one client for the session, attached to each description.
      vim.g.scenario_cliente = vim.g.scenario_cliente or vim.lsp.start_client(configurazione)
      vim.lsp.buf_attach_client(evento.buf, vim.g.scenario_cliente)
    end
  end,
})
