-- Neovim: `scenario lsp` for a scenario's two descriptions, NOME_linea.txt and NOME_NUMERO-.txt.
-- Put this file in ~/.config/nvim/plugin/ (or require it from init.lua); `scenario` must be on
-- the PATH, or set vim.g.scenario_comando to its full path.
local gruppo = vim.api.nvim_create_augroup('scenario_lsp', { clear = true })
vim.api.nvim_create_autocmd({ 'BufReadPost', 'BufNewFile' }, {
  group = gruppo,
  pattern = { '*_linea.txt', '*_[0-9][0-9][0-9][0-9]-.txt' },
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
